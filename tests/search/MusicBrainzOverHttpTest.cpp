#include "search/musicbrainz/MusicBrainzSearch.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "support/LocalCatalogue.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestPaths.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString urk = QStringLiteral("fe29e7f0-eb46-44ba-9348-694166f47885");       // three media, has a cover
const QString suzuki = QStringLiteral("fbe4490e-e366-4da2-a37a-82162d2f41a9");    // track credits, no cover
const QString unknown = QStringLiteral("00000000-0000-0000-0000-000000000000");

QByteArray recorded(const char *name)
{
    QFile file(testDataDir() + QStringLiteral("/musicbrainz/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The recorded search under the given keywords, the two recorded lookups and Urk's cover.
void addRecordedAnswers(TemporaryCatalogue &catalogue, const QString &keywords)
{
    catalogue.addFile(QStringLiteral("musicbrainz/search/%1.xml").arg(keywords), recorded("release-search.xml"));
    catalogue.addFile(QStringLiteral("musicbrainz/release/%1.xml").arg(urk), recorded("release-lookup-3-media-recordings.xml"));
    catalogue.addFile(QStringLiteral("musicbrainz/release/%1.xml").arg(suzuki), recorded("release-lookup-recordings-artist-credits.xml"));
    catalogue.addFile(QStringLiteral("coverart/%1.jpg").arg(urk), encodedPicture(1200, 900, "JPEG"));
}

MusicBrainzSearch quickSearch(const ServiceConfig &config, std::chrono::milliseconds interval = std::chrono::milliseconds(0))
{
    FetchLimits quick;
    quick.totalTimeout = std::chrono::milliseconds(3000);
    return MusicBrainzSearch(config, quick, interval);
}

} // namespace

TEST(MusicBrainzOverHttp, SearchesAndLooksUpWithAndWithoutCover)
{
    TemporaryCatalogue catalogue;
    // A "/" in the keywords travels escaped; the service unescapes it and names the file with "_".
    addRecordedAnswers(catalogue, QStringLiteral("Dance _ Pop (Music)"));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    MusicBrainzSearch search = quickSearch(service.config());

    StatusRecorder status;
    const SearchOutcome found = search.search(QStringLiteral("Dance / Pop (Music)"));
    EXPECT_EQ(status.lines, entryStatusLines(25));
    EXPECT_EQ(status.senders.count(&search), 25);
    ASSERT_EQ(found.albums->size(), 25);
    EXPECT_TRUE(found.failures.isEmpty());
    EXPECT_EQ(found.albums->at(18)->artistName(), "Neil Watson & Mark Sandell");

    const LookupOutcome withCover = search.lookup(urk);
    ASSERT_TRUE(withCover.album) << withCover.failure.value_or(QString()).toStdString();
    EXPECT_EQ(withCover.album->trackList()->size(), 48);
    ASSERT_TRUE(withCover.album->cover());
    EXPECT_EQ(withCover.album->cover()->size(), QSize(1000, 750)) << "scaled down on arrival";
    EXPECT_EQ(withCover.album->coverUrl(), MusicBrainzService::coverUrl(service.baseUrl(), urk));

    const LookupOutcome withoutCover = search.lookup(suzuki);
    ASSERT_TRUE(withoutCover.album);
    EXPECT_FALSE(withoutCover.failure || withoutCover.album->cover() || withoutCover.album->coverUrl());
    EXPECT_EQ(withoutCover.album->trackList()->first()->artist(), "J. A. Hummel");

    const LookupOutcome missing = search.lookup(unknown);
    EXPECT_FALSE(missing.album);
    EXPECT_EQ(missing.failure, QStringLiteral("%1 knows no release with the id \"%2\"").arg(service.host(), unknown));

    for (const QJsonObject &line : service.logLines())
        EXPECT_EQ(line[u"userAgent"].toString().toLatin1(), MusicBrainzService::userAgent());
}

TEST(MusicBrainzOverHttp, WaitsOutABusyServiceAndSaysWhySearchesFailed)
{
    struct Case {
        QString keywords;
        QByteArray fault;
        qsizetype albums;
        QString failure;         // empty for none
        QList<qint64> minimumGapsMs; // between the requests the service logged for it
    };
    const QString busy = QStringLiteral("the service is busy (HTTP 503) after 3 tries");
    const QList<Case> cases{
        {"retry after", "status 503 retry-after 2 times 1", 25, {}, {2000}},
        {"always busy", "status 503", 0, busy, {1000, 2000}},
        {"garbage", "garbage", 0, "the answer from HOST could not be read (not well-formed XML, or nested too deeply)", {}},
        {"failing", "status 500", 0, "HOST answered with HTTP status 500", {}},
    };
    TemporaryCatalogue catalogue;
    for (const Case &c : cases) {
        addRecordedAnswers(catalogue, c.keywords);
        catalogue.addFile(QStringLiteral("musicbrainz/search/%1.fault").arg(c.keywords), c.fault);
    }
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    MusicBrainzSearch search = quickSearch(service.config());
    for (const Case &c : cases) {
        const qsizetype logged = service.logLines().size();
        const SearchOutcome outcome = search.search(c.keywords);
        EXPECT_EQ(outcome.albums->size(), c.albums) << c.keywords.toStdString();
        const QString failure = outcome.failures.isEmpty() ? QString() : outcome.failures.first().reason;
        EXPECT_EQ(failure, QString(c.failure).replace(QStringLiteral("HOST"), service.host()));
        const QList<QJsonObject> lines = service.logLines().mid(logged);
        ASSERT_EQ(lines.size(), c.minimumGapsMs.size() + 1) << c.keywords.toStdString();
        for (qsizetype i = 0; i < c.minimumGapsMs.size(); ++i)
            EXPECT_GE(lines[i + 1][u"arrivedMs"].toInteger() - lines[i][u"arrivedMs"].toInteger(), c.minimumGapsMs[i]);
    }

    // Nothing listening: the search says so at once.
    ServiceConfig closed = service.config();
    closed.musicBrainzUrl = QStringLiteral("http://127.0.0.1:1");
    const SearchOutcome unreachable = quickSearch(closed).search(QStringLiteral("anything"));
    ASSERT_EQ(unreachable.failures.size(), 1);
    EXPECT_EQ(unreachable.failures.first().reason, "could not connect to 127.0.0.1:1 (connection refused)");
}

TEST(MusicBrainzOverHttp, KeepsToOneRequestASecondAcrossSearchesWithItsUserAgent)
{
    TemporaryCatalogue catalogue;
    addRecordedAnswers(catalogue, QStringLiteral("Pop Music"));
    LocalCatalogueOptions manners;
    manners.musicBrainzIntervalMs = 1000;
    manners.requireUserAgent = true;
    LocalCatalogue service(catalogue.path(), manners);
    ASSERT_TRUE(service.isRunning());
    // Two searches of their own: the pace is kept for the whole program, not per search.
    MusicBrainzSearch first(service.config());
    MusicBrainzSearch second(service.config());
    EXPECT_EQ(first.search(QStringLiteral("Pop Music")).albums->size(), 25);
    EXPECT_TRUE(second.lookup(urk).album);
    EXPECT_TRUE(first.lookup(suzuki).album);

    qint64 lastArrival = -1;
    int serviceRequests = 0;
    for (const QJsonObject &line : service.logLines()) {
        // Neither refused as too fast (503) nor for want of a proper User-Agent (403).
        EXPECT_TRUE(line[u"status"].toInt() != 503 && line[u"status"].toInt() != 403) << line[u"path"].toString().toStdString();
        if (!line[u"path"].toString().startsWith(QStringLiteral("/ws/2/")))
            continue;
        ++serviceRequests;
        if (lastArrival >= 0) {
            EXPECT_GE(line[u"arrivedMs"].toInteger() - lastArrival, 1000);
        }
        lastArrival = line[u"arrivedMs"].toInteger();
    }
    EXPECT_EQ(serviceRequests, 3);
}
