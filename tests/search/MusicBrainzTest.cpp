#include "common/JobControl.h"
#include "search/musicbrainz/MusicBrainzId.h"
#include "search/musicbrainz/MusicBrainzSearch.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "search/musicbrainz/ReleaseReader.h"
#include "support/LocalCatalogue.h"
#include "support/LogCapture.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestFiles.h"
#include "support/TestPacer.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const QString urk = QStringLiteral("fe29e7f0-eb46-44ba-9348-694166f47885");    // three media, has a cover
const QString suzuki = QStringLiteral("fbe4490e-e366-4da2-a37a-82162d2f41a9"); // track credits, no cover
const QString unknown = QStringLiteral("00000000-0000-0000-0000-000000000000");

QByteArray recorded(const char *name)
{
    return readBytes(testDataDir() + QStringLiteral("/musicbrainz/") + QLatin1String(name));
}

// The recorded search under the given keywords, the two recorded lookups and Urk's cover.
void addRecordedAnswers(TemporaryCatalogue &catalogue, const QString &keywords)
{
    catalogue.addFile(QStringLiteral("musicbrainz/search/%1.xml").arg(keywords), recorded("release-search.xml"));
    catalogue.addFile(QStringLiteral("musicbrainz/release/%1.xml").arg(urk), recorded("release-lookup-3-media-recordings.xml"));
    catalogue.addFile(QStringLiteral("musicbrainz/release/%1.xml").arg(suzuki), recorded("release-lookup-recordings-artist-credits.xml"));
    catalogue.addFile(QStringLiteral("coverart/%1.jpg").arg(urk), encodedPicture(1200, 900, "JPEG"));
}

// Searches pace on a clock of their own, in a pace file of their own.
TestPacer &testPacer()
{
    static TestPacer pacer;
    return pacer;
}

MusicBrainzSearch quickSearch(const ServiceConfig &config)
{
    FetchLimits quick;
    quick.totalTimeout = std::chrono::milliseconds(3000);
    return MusicBrainzSearch(config, quick, std::chrono::milliseconds(0), &testPacer().pacer);
}

QString text(const std::optional<QString> &value)
{
    return value.value_or(QStringLiteral("-"));
}

// artist|album|year|label|asin|genre|discs|tracks|id|releaseGroupId|albumArtistId, "-" for absent.
QString summary(const ResultEntry &album)
{
    return QStringList{text(album.artistName()), text(album.albumName()), text(album.yearOfPublication()),
                       text(album.label()), text(album.asinNumber()), text(album.genre()),
                       QString::number(album.numberOfDiscs()), QString::number(album.numberOfTracks()),
                       text(album.id()), text(album.releaseGroupId()), text(album.albumArtistId())}
        .join(u'|');
}

// disc.number title/artist length id recording artistId
QString trackSummary(const Track &track)
{
    const auto number = [](auto value) { return value ? QString::number(*value) : QStringLiteral("-"); };
    return QStringLiteral("%1.%2 %3/%4 %5 %6 %7 %8")
        .arg(number(track.discNumber()), number(track.numberOnDisc()), text(track.title()), text(track.artist()),
             number(track.lengthMs()), text(track.trackId()), text(track.recordingId()), text(track.artistId()));
}

} // namespace

TEST(MusicBrainzOverHttp, SearchesAndLooksUpEveryFieldWithAndWithoutCover)
{
    TemporaryCatalogue catalogue;
    // A "/" in the keywords travels escaped; the service unescapes it and names the file with "_".
    addRecordedAnswers(catalogue, QStringLiteral("Dance _ Pop (Music)"));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    MusicBrainzSearch search = quickSearch(service.config());

    StatusRecorder status;
    const SearchOutcome found = search.search(QStringLiteral("Dance / Pop (Music)"), &status.control);
    EXPECT_EQ(status.lines, entryStatusLines(25));
    EXPECT_TRUE(found.failures.isEmpty());
    const ResultList &albums = *found.albums;
    ASSERT_EQ(albums.size(), 25);
    const QList<std::pair<int, QString>> full{
        {0, "Dynamo Go|Affordable Pop Music|2008|Waysafe|-|-|1|4|e94757ff-2655-4690-b369-4012beba6114|"
            "6561c223-18e6-3b88-9adc-a701700fc91e|952a4205-023d-4235-897c-6fdb6f58dfaa"},
        {6, "Iggy Pop|Pop Music|-||B0000072ZP|-|1|20|d7519ee9-ed66-4573-a8d8-814e729e1ea3|"
            "a839cc6e-e5a7-3659-91d9-73d05cc41445|f37b3f31-b1f8-4b88-8cb5-b34f709b17d7"},
        {18, "Neil Watson & Mark Sandell|Dance / Pop Music|-|Chappell AV|-|-|1|17|c466130c-c286-49b8-b7ae-e868ac1e7042|"
             "9b4d7297-289a-4542-9828-2dccea7b3bd4|d5d5c3e5-2976-4ac7-acd7-b8bdb9ec7559"},
        {23, "[unknown]|Cairo Cafe: Arabic Pop Music|2008|Pyramedia|-|-|1|12|1a65b888-d398-44ef-a812-61e1edd9f49f|"
             "6f03e007-9e9d-44e3-b703-23968051c674|125ec42a-7229-4250-afc5-e057484327fe"},
    };
    for (const auto &[index, expected] : full)
        EXPECT_EQ(summary(*albums[index]), expected) << index;
    // Across all 25: a search brings no tracks or cover, and every identifier.
    for (const auto &album : albums) {
        EXPECT_FALSE(album->trackList() || album->cover() || album->genre() || album->coverUrl());
        for (const auto &id : {album->id(), album->releaseGroupId(), album->albumArtistId()})
            EXPECT_EQ(id.value_or(QString()).size(), 36) << summary(*album).toStdString();
    }

    const LookupOutcome withCover = search.lookup(urk);
    ASSERT_TRUE(withCover.album) << withCover.failure.value_or(QString()).toStdString();
    EXPECT_EQ(summary(*withCover.album), "-|Urk|2007||B000LXHGR6|-|3|48|" + urk + "|-|-");
    const TrackList &urkTracks = *withCover.album->trackList();
    ASSERT_EQ(urkTracks.size(), 48);
    EXPECT_EQ(trackSummary(*urkTracks[0]),
              "1.1 The Train/- 184000 58a1aa51-1b34-3182-9d71-91dc0e6db368 f0718b28-1e48-4b8e-8e5e-0596cc8ff515 -");
    QStringList numbers;
    for (const int index : {13, 14, 28, 29, 47})
        numbers.append(trackSummary(*urkTracks[index]).section(u' ', 0, 0));
    EXPECT_EQ(numbers, (QStringList{"1.14", "2.1", "2.15", "3.1", "3.19"}));
    ASSERT_TRUE(withCover.album->cover());
    EXPECT_EQ(withCover.album->cover()->size(), QSize(1000, 750)) << "scaled down on arrival";
    EXPECT_EQ(withCover.album->coverUrl(), MusicBrainzService::coverUrl(service.baseUrl(), urk));

    // The track's credit wins over the recording's ("Haruko Kataoka"); no date, label or cover (404).
    const LookupOutcome withoutCover = search.lookup(suzuki);
    ASSERT_TRUE(withoutCover.album);
    EXPECT_FALSE(withoutCover.failure || withoutCover.album->cover() || withoutCover.album->coverUrl());
    EXPECT_EQ(summary(*withoutCover.album), "Suzuki Method International|Suzuki Piano School, Volume 2 (feat. piano: "
                                            "Haruko Katakoa)|-||087487498X|-|1|14|" + suzuki + "|-|08809019-2a31-4b5c-928a-d57b7742b224");
    EXPECT_EQ(trackSummary(*withoutCover.album->trackList()->first()),
              "1.1 Ecossaise/J. A. Hummel 195040 - c66bda20-4efe-4589-b643-f247c17de337 f7ef501b-2bc0-4083-ac52-3518255883a2");

    const LookupOutcome missing = search.lookup(unknown);
    EXPECT_FALSE(missing.album);
    EXPECT_EQ(missing.failure, QStringLiteral("%1 knows no release with the id \"%2\"").arg(service.host(), unknown));

    // A release id or address as keywords is looked up, and is the one result.
    for (const QString &keywords : {" " + urk.toUpper() + " ", "https://musicbrainz.org/release/" + urk,
                                    "http://beta.musicbrainz.org/release/" + urk + "/cover-art?x=1#top"}) {
        const qsizetype logged = service.logLines().size();
        StatusRecorder lines;
        const SearchOutcome release = search.search(keywords, &lines.control);
        ASSERT_EQ(release.albums->size(), 1) << keywords.toStdString();
        EXPECT_EQ(summary(*release.albums->first()), summary(*withCover.album));
        EXPECT_EQ(release.albums->first()->trackList()->size(), 48);
        EXPECT_EQ(lines.lines, entryStatusLines(1));
        EXPECT_EQ(service.logLines().at(logged)[u"path"].toString(), "/ws/2/release/" + urk);
    }
    EXPECT_EQ(search.search(unknown).failureStatus(),
              QStringLiteral("Search failed: %1 knows no release with the id \"%2\".").arg(service.host(), unknown));
}

TEST(MusicBrainzRelease, ReadsWhatTellsEditionsApartFromTheSearchAnswer)
{
    // country|date|format|barcode|catalogue number|type, "-" for absent.
    const auto edition = [](const ResultEntry &album) {
        return QStringList{text(album.country()), text(album.releaseDate()), text(album.format()), text(album.barcode()),
                           text(album.catalogNumber()), text(album.releaseType())}
            .join(u'|');
    };
    const std::optional<XmlDocument> answer = XmlDocument::parse(recorded("release-search.xml"));
    ASSERT_TRUE(answer);
    const QList<pugi::xml_node> releases = ReleaseReader::releasesOfSearch(*answer);
    const QList<std::pair<int, QString>> recordedCases{
        {0, "NZ|2008-07-04|CD|9421021463277|WS06|EP"},
        {2, "-|1983|-|-|-|-"},
        {4, "FR|1990-11|Cassette|5099746735449|467354 4|Album"},
        {14, "GB|2010-05-20|Digital Media|-|-|Compilation"},
        {17, "US|2006|CD|837101239905|-|EP"},   // a label without a catalogue number
    };
    for (const auto &[index, expected] : recordedCases)
        EXPECT_EQ(edition(*ReleaseReader().albumOfRelease(releases.at(index))), expected) << index;

    // Newer answers name the group's types one by one; several media of a format are counted.
    const QList<std::tuple<QString, QString, QString>> written{
        {"<medium><format>CD</format></medium><medium><format>DVD</format></medium><medium><format>CD</format></medium>"
         "<medium/>",
         "<primary-type>Album</primary-type><secondary-type-list><secondary-type>Soundtrack</secondary-type>"
         "</secondary-type-list>",
         "-|-|2\u00d7CD + DVD|-|-|Album"},
        {"<medium><format>12\" Vinyl</format></medium>",
         "<primary-type>Album</primary-type><secondary-type-list><secondary-type>Live</secondary-type>"
         "<secondary-type>Compilation</secondary-type></secondary-type-list>",
         "-|-|12\" Vinyl|-|-|Live, Compilation"},
    };
    for (const auto &[media, group, expected] : written) {
        const QString xml = QStringLiteral("<metadata><release id=\"x\"><barcode/><release-group type=\"Other\">%1</release-group>"
                                           "<medium-list>%2</medium-list></release></metadata>").arg(group, media);
        const std::optional<XmlDocument> document = XmlDocument::parse(xml.toUtf8());
        ASSERT_TRUE(document);
        EXPECT_EQ(edition(*ReleaseReader().albumOfRelease(ReleaseReader::releaseOfLookup(*document))), expected);
    }
}

TEST(MusicBrainzRelease, TakesTheMostVotedGenreAndFallsBackStepByStep)
{
    const auto genres = [](const char *votes) {
        QString list;
        for (const QString &vote : QString::fromLatin1(votes).split(u',', Qt::SkipEmptyParts))
            list += QStringLiteral("<genre count=\"%1\"><name>%2</name></genre>").arg(vote.section(u'=', 1), vote.section(u'=', 0, 0));
        return list.isEmpty() ? QString() : QStringLiteral("<genre-list>%1</genre-list>").arg(list);
    };
    const QString creditedRecording = QStringLiteral(
        "<recording id=\"r\"><title>Own</title><length>2000</length><artist-credit><name-credit joinphrase=\" feat. \">"
        "<artist id=\"ra\"><name>A</name></artist></name-credit><name-credit><artist id=\"rb\"><name>B</name></artist>"
        "</name-credit></artist-credit></recording>");
    // Genres of the release and of its group, the genre taken; the third track's inside and its reading.
    const QList<std::tuple<const char *, const char *, const char *, QString, const char *>> cases{
        {"jazz=2,rock=5,pop=5", "folk=9", "rock", "<title>Track</title><length>1000</length>" + creditedRecording,
         "1.3 Track/A feat. B 1000 - r ra"},
        {"", "folk=1,soul=4", "soul", "<position>x</position>" + creditedRecording, "1.3 Own/A feat. B 2000 - r ra"},
        {"", "", "-", "<position>7</position><recording id=\"r\"/>", "1.7 -/Release Artist - - r rel"},
    };
    for (const auto &[releaseGenres, groupGenres, genre, track, expectedTrack] : cases) {
        const QString xml = QStringLiteral(
            "<metadata xmlns=\"http://musicbrainz.org/ns/mmd-2.0#\"><release id=\"x\">%1<release-group id=\"g\">%2</release-group>"
            "<artist-credit><name-credit><artist id=\"rel\"><name>Release Artist</name></artist></name-credit></artist-credit>"
            "<medium-list><medium><track-list><track/><track/><track>%3</track></track-list></medium></medium-list>"
            "</release></metadata>").arg(genres(releaseGenres), genres(groupGenres), track);
        const std::optional<XmlDocument> answer = XmlDocument::parse(xml.toUtf8());
        ASSERT_TRUE(answer);
        const pugi::xml_node release = ReleaseReader::releaseOfLookup(*answer);
        ResultEntry album;
        ReleaseReader().addLookupDetails(album, release);
        EXPECT_EQ(text(album.genre()), genre);
        EXPECT_EQ(trackSummary(*album.trackList()->at(2)), expectedTrack);
    }
}

TEST(MusicBrainzOverHttp, WaitsOutABusyServiceAndSaysWhySearchesFailed)
{
    struct Case {
        QString keywords;
        QByteArray fault;
        qsizetype albums;
        QString failure;  // empty for none
        qsizetype requests;
        qint64 waitedMs;  // between them, on the pacer's clock
    };
    const QString busy = QStringLiteral("the service is busy (HTTP 503) after 3 tries");
    const QList<Case> cases{
        {"retry after", "status 503 retry-after 2 times 1", 25, {}, 2, 2000},
        {"always busy", "status 503", 0, busy, 3, 1000 + 2000},
        {"garbage", "garbage", 0, "the answer from HOST could not be read (not well-formed XML, or nested too deeply)", 1, 0},
        {"failing", "status 500", 0, "HOST answered with HTTP status 500", 1, 0},
    };
    TemporaryCatalogue catalogue;
    for (const Case &c : cases) {
        addRecordedAnswers(catalogue, c.keywords);
        catalogue.addFile(QStringLiteral("musicbrainz/search/%1.fault").arg(c.keywords), c.fault);
    }
    catalogue.addFile(QStringLiteral("musicbrainz/search/hang.fault"), "hang");
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    MusicBrainzSearch search = quickSearch(service.config());
    for (const Case &c : cases) {
        const qsizetype logged = service.logLines().size();
        const qint64 slept = testPacer().clock.slept();
        const SearchOutcome outcome = search.search(c.keywords);
        EXPECT_EQ(outcome.albums->size(), c.albums) << c.keywords.toStdString();
        const QString failure = outcome.failures.isEmpty() ? QString() : outcome.failures.first().reason;
        EXPECT_EQ(failure, QString(c.failure).replace(QStringLiteral("HOST"), service.host()));
        EXPECT_EQ(service.logLines().size() - logged, c.requests) << c.keywords.toStdString();
        EXPECT_EQ(testPacer().clock.slept() - slept, c.waitedMs) << c.keywords.toStdString();
    }

    // A cancel ends the wait for an answer that never comes, with nothing to report.
    JobControl control;
    std::thread canceller([&control] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); control.requestCancel(); });
    const SearchOutcome cancelled = search.search(QStringLiteral("hang"), &control);
    canceller.join();
    EXPECT_TRUE(cancelled.albums->isEmpty() && cancelled.failures.isEmpty()) << "not a time-out";

}

TEST(MusicBrainzOverHttp, KeepsToOneRequestASecondAcrossSearchesWithItsUserAgent)
{
    TemporaryCatalogue catalogue;
    addRecordedAnswers(catalogue, QStringLiteral("Pop Music"));
    LocalCatalogueOptions manners;
    manners.requireUserAgent = true;
    LocalCatalogue service(catalogue.path(), manners);
    ASSERT_TRUE(service.isRunning());
    // Two searches of their own: the pace is kept for the whole machine, not per search.
    TestPacer paced;
    MusicBrainzSearch first(service.config(), {}, MusicBrainzClient::defaultInterval, &paced.pacer);
    MusicBrainzSearch second(service.config(), {}, MusicBrainzClient::defaultInterval, &paced.pacer);
    EXPECT_EQ(first.search(QStringLiteral("Pop Music")).albums->size(), 25);
    EXPECT_TRUE(second.lookup(urk).album);
    EXPECT_TRUE(first.lookup(suzuki).album);
    // Each request after the first waited out the interval from the one before.
    EXPECT_EQ(paced.clock.slept(), 2 * MusicBrainzClient::defaultInterval.count());

    int serviceRequests = 0;
    for (const QJsonObject &line : service.logLines()) {
        // Not refused for want of a proper User-Agent (403).
        EXPECT_NE(line[u"status"].toInt(), 403) << line[u"path"].toString().toStdString();
        serviceRequests += line[u"path"].toString().startsWith(QStringLiteral("/ws/2/"));
    }
    EXPECT_EQ(serviceRequests, 3);
}

TEST(MusicBrainzService, EscapesQuerySyntaxAndKeepsIdentifiersInTheirPathSegment)
{
    const QList<std::pair<QString, QString>> escapes{
        {"AC/DC", "AC\\/DC"},
        {"Rock && Roll || not!", "Rock \\&\\& Roll \\|\\| not\\!"},
        {"+-(){}[]^\"~*?:\\", "\\+\\-\\(\\)\\{\\}\\[\\]\\^\\\"\\~\\*\\?\\:\\\\"},
    };
    for (const auto &[keywords, escaped] : escapes)
        EXPECT_EQ(MusicBrainzService::luceneEscaped(keywords), escaped);
    EXPECT_EQ(MusicBrainzService::searchUrl("http://127.0.0.1:9", "AC/DC Live").toStdString(),
              "http://127.0.0.1:9/ws/2/release/?query=AC%5C%2FDC%20Live&limit=25");
    EXPECT_EQ(MusicBrainzService::lookupUrl("https://mb", "a/b?c"),
              "https://mb/ws/2/release/a%2Fb%3Fc?inc=artist-credits+labels+recordings+release-groups+genres");
    EXPECT_EQ(MusicBrainzService::coverUrl("https://caa", "m-1"), "https://caa/release/m-1/front-500");
}

TEST(MusicBrainzId, TakesReleaseIdsAndTheirAddressesOnly)
{
    const QString id = urk;
    const QString site = QStringLiteral("musicbrainz.org/release/");
    const QList<std::pair<QString, std::optional<QString>>> cases{
        {id, id}, {id.toUpper(), id}, {" " + id + "\n", id}, {"https://" + site + id, id},
        {"http://www." + site + id + "/recordings", id}, {site + id.toUpper() + "?tab=1", id}, {"HTTPS://" + site + id + "#x", id},
        {"", {}}, {".", {}}, {"..", {}}, {id + "0", {}}, {id.left(35), {}}, {QString(id).remove(u'-'), {}},
        {QString(id).replace(u'f', u'g'), {}}, {"https://musicbrainz.org/artist/" + id, {}}, {"https://example.org/release/" + id, {}},
        {"https://musicbrainz.org.example/release/" + id, {}}, {"ftp://" + site + id, {}}, {"https://" + site + id + "0", {}},
        {"https://" + site + "../" + id, {}}, {"https://" + site + id + "\n/x", {}},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(MusicBrainzId::releaseIdFrom(text), expected) << text.toStdString();
    EXPECT_TRUE(MusicBrainzId::isReleaseId(id.toUpper()));
    EXPECT_FALSE(MusicBrainzId::isReleaseId(" " + id) || MusicBrainzId::isReleaseId("https://" + site + id));
}

TEST(MusicBrainzOverHttp, AsksForNothingButReleaseIdsAndNamesWhatWasTooLarge)
{
    const QString dotted = QStringLiteral("11111111-1111-1111-1111-111111111111"); // its answer calls it ".."
    const QString huge = QStringLiteral("22222222-2222-2222-2222-222222222222");
    TemporaryCatalogue catalogue;
    addRecordedAnswers(catalogue, QStringLiteral("x"));
    catalogue.addFile(QStringLiteral("musicbrainz/release/%1.xml").arg(dotted),
                      recorded("release-lookup-3-media-recordings.xml").replace(urk.toUtf8(), ".."));
    catalogue.addFile(QStringLiteral("musicbrainz/release/%1.fault").arg(huge), "huge");
    catalogue.addFile(QStringLiteral("coverart/%1.fault").arg(urk), "huge");
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    MusicBrainzSearch search = quickSearch(service.config());

    for (const QString &bad : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("a/b?c")})
        EXPECT_EQ(search.lookup(bad).failure, QStringLiteral("not a MusicBrainz release id: \"%1\"").arg(bad));
    EXPECT_TRUE(service.logLines().isEmpty());
    EXPECT_EQ(search.lookup(dotted).failure,
              QStringLiteral("the answer from %1 is unusable: not a MusicBrainz release id: \"..\"").arg(service.host()));
    EXPECT_EQ(service.logLines().size(), 1) << "no cover request";
    EXPECT_EQ(search.lookup(huge).failure,
              QStringLiteral("the answer from %1 was larger than a look-up answer can be (4 MiB)").arg(service.host()));

    LogCapture log;
    const LookupOutcome withoutCover = search.lookup(urk.toUpper());
    ASSERT_TRUE(withoutCover.album);
    EXPECT_FALSE(withoutCover.album->cover());
    EXPECT_EQ(log.lines(), QStringList(QStringLiteral("No cover from %1: the cover from %2 was larger than a cover can be (4 MiB)")
                                           .arg(MusicBrainzService::coverUrl(service.baseUrl(), urk), service.host())));
}
