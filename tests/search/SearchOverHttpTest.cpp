#include "search/SearchEngine.h"
#include "files/ImageEncoding.h"
#include "support/LocalCatalogue.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace std::chrono_literals;

// Short bounds so that a hanging or endless answer fails quickly.
FetchLimits quickLimits()
{
    FetchLimits limits;
    limits.connectTimeout = 2000ms;
    limits.totalTimeout = 1500ms;
    limits.maxBodyBytes = 256 * 1024;
    return limits;
}

QString item(const QString &asin, const QString &coverUrl = QString())
{
    const QString cover = coverUrl.isNull() ? QString()
                                            : QStringLiteral("<LargeImage><URL>%1</URL></LargeImage>").arg(coverUrl);
    return QStringLiteral("<Item><ASIN>%1</ASIN>%2<ItemAttributes><Title>Album %1</Title></ItemAttributes></Item>")
        .arg(asin, cover);
}

// Three pages of two items each ("<p>a", "<p>b"), announcing the given total on page 1.
void addThreePages(TemporaryCatalogue &catalogue, const QString &keywords, const std::optional<QString> &total)
{
    for (int n = 1; n <= 3; ++n)
        catalogue.addPage(keywords, n,
                          itemSearchAnswer({item(QStringLiteral("%1a").arg(n)), item(QStringLiteral("%1b").arg(n))},
                                           n == 1 ? total : QStringLiteral("3")));
}

QStringList asinsOf(const ResultList &list)
{
    QStringList asins;
    for (const auto &entry : list)
        asins.append(entry->asinNumber().value_or(QStringLiteral("<absent>")));
    return asins;
}

// The "ItemPage" values of the search requests for the keywords, sorted.
QStringList requestedPages(const LocalCatalogue &catalogue, const QString &keywords)
{
    QStringList pages;
    for (const QJsonObject &line : catalogue.logLines()) {
        if (line[u"path"].toString() == u"/onca/soap" && line[u"query"][u"Keywords"].toString() == keywords)
            pages.append(line[u"query"][u"ItemPage"].toString());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

QByteArray picture(int width, int height, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return encodedImage(image, format);
}

QByteArray recordedAnswer(const char *name)
{
    QFile file(testDataDir() + QStringLiteral("/itemsearch/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(SearchOverHttp, FollowsTheAnnouncedTotalUpToThreePages)
{
    const QList<std::pair<std::optional<QString>, int>> cases{
        {QStringLiteral("0"), 1}, {QStringLiteral("1"), 1}, {QStringLiteral("2"), 2},
        {QStringLiteral("4"), 3}, {QStringLiteral("99999999999"), 3}, {QStringLiteral("-2"), 1}, {std::nullopt, 1}};
    TemporaryCatalogue catalogue;
    for (const auto &[total, pages] : cases)
        addThreePages(catalogue, QStringLiteral("total %1").arg(total.value_or(QStringLiteral("missing"))), total);
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    for (const auto &[total, pages] : cases) {
        const QString keywords = QStringLiteral("total %1").arg(total.value_or(QStringLiteral("missing")));
        SCOPED_TRACE(keywords.toStdString());
        SearchEngine engine(service.config());
        StatusRecorder status;
        const SearchOutcome outcome = engine.buildSearchResultFromKeywords(keywords, QStringLiteral("de"));
        QStringList expectedAsins, expectedPages;
        for (int n = 1; n <= pages; ++n) {
            expectedAsins << QStringLiteral("%1a").arg(n) << QStringLiteral("%1b").arg(n);
            expectedPages << QString::number(n);
        }
        EXPECT_EQ(asinsOf(*outcome.albums), expectedAsins);
        EXPECT_TRUE(outcome.failures.isEmpty());
        EXPECT_EQ(requestedPages(service, keywords), expectedPages);
        EXPECT_EQ(status.lines, entryStatusLines(2 * pages));
        EXPECT_TRUE(std::all_of(status.senders.cbegin(), status.senders.cend(),
                                [&engine](const void *sender) { return sender == &engine; }));
    }
}

TEST(SearchOverHttp, SignsEveryPageAndSendsTheKeywordsWithoutApostrophes)
{
    TemporaryCatalogue catalogue;
    addThreePages(catalogue, QStringLiteral("Rock n Roll"), QStringLiteral("3"));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    for (const QString &store : {QStringLiteral("de"), QStringLiteral("com"), QStringLiteral("co.uk"), QStringLiteral("fr")}) {
        SearchEngine engine(service.config());
        EXPECT_EQ(engine.buildSearchResultFromKeywords(QStringLiteral("Rock 'n' Roll"), store).albums->size(), 6);
    }
    const QList<QJsonObject> lines = service.logLines();
    ASSERT_EQ(lines.size(), 12);
    for (const QJsonObject &line : lines) {
        EXPECT_TRUE(line[u"signatureVerified"].toBool());
        EXPECT_EQ(line[u"query"].toObject(),
                  (QJsonObject{{"AWSAccessKeyId", ServiceConfig::placeholderAccessKey}, {"ItemPage", line[u"query"][u"ItemPage"]},
                               {"Keywords", "Rock n Roll"}, {"Operation", "ItemSearch"}, {"ResponseGroup", "Large"},
                               {"SearchIndex", "Music"}, {"Service", "AWSECommerceService"},
                               {"Signature", line[u"query"][u"Signature"]}, {"Timestamp", line[u"query"][u"Timestamp"]}}));
    }
}

TEST(SearchOverHttp, SaysWhyPagesFailedAndKeepsTheRest)
{
    struct Case {
        const char *keywords;
        int failingPage;
        QByteArray fault;
        QString status;     // what the failure status line starts with; empty for none
        QStringList asins;
    };
    const QString unreachable = QStringLiteral("127.0.0.1:1");
    const QList<Case> cases{
        {"expired", 1, "status 400\n" + recordedAnswer("error-requestexpired-itemsearch.xml"),
         "Search failed: the service refused the request as expired (RequestExpired); check the date", {}},
        {"unknown key", 1, "status 403\n" + recordedAnswer("error-invalidclienttokenid-itemsearch.xml"),
         "Search failed: the service does not know the access key (InvalidClientTokenId)", {}},
        {"no match", 1, recordedAnswer("error-noexactmatches-music-us-medium.xml").prepend("status 200\n"), {}, {}},
        {"server error", 1, "status 500", "Search failed: 127.0.0.1:", {}},
        {"garbage", 1, "garbage", "Search failed: the answer from 127.0.0.1:", {}},
        {"hang", 1, "hang", "Search failed: 127.0.0.1:", {}},
        {"close", 1, "close", "Search failed: the answer from 127.0.0.1:", {}},
        {"huge", 1, "huge", "Search failed: the answer from 127.0.0.1:", {}},
        {"page 2 hangs", 2, "hang", "Search incomplete: page 2 failed: 127.0.0.1:", {"1a", "1b", "3a", "3b"}},
        {"page 3 is garbage", 3, "garbage", "Search incomplete: page 3 failed: the answer", {"1a", "1b", "2a", "2b"}},
    };
    TemporaryCatalogue catalogue;
    for (const Case &c : cases) {
        addThreePages(catalogue, QLatin1String(c.keywords), QStringLiteral("3"));
        catalogue.addFault(QLatin1String(c.keywords), c.failingPage, c.fault);
    }
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    for (const Case &c : cases) {
        SCOPED_TRACE(c.keywords);
        SearchEngine engine(service.config(), quickLimits());
        StatusRecorder status;
        const SearchOutcome outcome = engine.buildSearchResultFromKeywords(QLatin1String(c.keywords), QStringLiteral("de"));
        EXPECT_EQ(asinsOf(*outcome.albums), c.asins);
        EXPECT_EQ(status.lines, entryStatusLines(int(c.asins.size())));
        EXPECT_EQ(outcome.failureStatus().value_or(QString()).left(c.status.size()), c.status)
            << outcome.failureStatus().value_or(QStringLiteral("no failure")).toStdString();
        EXPECT_EQ(outcome.everyPageFailed(), c.failingPage == 1 && !c.status.isEmpty());
    }

    // The service's own refusal of a wrong signature, a port where nothing listens, and a
    // storefront without a host, which is never sent anywhere.
    ServiceConfig wrongSecret = service.config();
    wrongSecret.secretKey = QStringLiteral("not the secret");
    ServiceConfig refused = service.config();
    refused.hosts[QStringLiteral("de")] = unreachable;
    const qsizetype requestsBefore = service.logLines().size();
    const QList<std::tuple<ServiceConfig, QString, QString>> refusals{
        {wrongSecret, "de", "Search failed: the service refused the signature (SignatureDoesNotMatch); check the secret key in Service settings."},
        {refused, "de", "Search failed: could not connect to 127.0.0.1:1 (connection refused)."},
        {service.config(), "uk", "Search failed: \"uk\" is not a storefront; choose de, com, co.uk or fr."}};
    for (const auto &[config, store, status] : refusals) {
        SearchEngine engine(config);
        const SearchOutcome outcome = engine.buildSearchResultFromKeywords(QStringLiteral("no faults"), store);
        EXPECT_TRUE(outcome.albums->isEmpty());
        EXPECT_EQ(outcome.failureStatus(), status);
    }
    EXPECT_EQ(service.logLines().size(), requestsBefore + 1) << "only the wrongly signed request arrives";
}

TEST(SearchOverHttp, CoversComeOnlyFromTheWebWithinBoundsAndScaledDown)
{
    TemporaryCatalogue catalogue;
    catalogue.addImage(QStringLiteral("small.jpg"), picture(40, 30, "JPEG"));
    catalogue.addImage(QStringLiteral("other.png"), picture(20, 10, "PNG"));
    catalogue.addImage(QStringLiteral("large.bmp"), picture(400, 300, "BMP")); // past 256 KiB
    catalogue.addImage(QStringLiteral("wide.png"), picture(6000, 1200, "PNG"));
    catalogue.addImage(QStringLiteral("garbage.jpg"), QByteArray("this is no picture"));
    const QString localFile = QDir(catalogue.path()).filePath(QStringLiteral("images/small.jpg"));
    catalogue.addPage(QStringLiteral("covers"), 1, itemSearchAnswer({
        item(QStringLiteral("ok"), QStringLiteral("{{base}}/images/small.jpg")),
        item(QStringLiteral("again"), QStringLiteral("{{base}}/images/small.jpg")),
        item(QStringLiteral("file"), QStringLiteral("file://") + localFile),
        item(QStringLiteral("ftp"), QStringLiteral("ftp://127.0.0.1/images/small.jpg")),
        item(QStringLiteral("missing"), QStringLiteral("{{base}}/images/missing.jpg")),
        item(QStringLiteral("garbage"), QStringLiteral("{{base}}/images/garbage.jpg")),
        item(QStringLiteral("large"), QStringLiteral("{{base}}/images/large.bmp")),
        item(QStringLiteral("notaurl"), QStringLiteral("http://exa mple/ x.jpg")),
        item(QStringLiteral("nohost"), QStringLiteral("http:///localhost:1/images/small.jpg")),
        item(QStringLiteral("none")),
    }, QStringLiteral("2")));
    QStringList hundred{item(QStringLiteral("second page"), QStringLiteral("{{base}}/images/other.png")),
                        item(QStringLiteral("wide"), QStringLiteral("{{base}}/images/wide.png"))};
    // Past the ten items a page can hold: neither read nor their covers asked for.
    for (int i = 2; i < 100; ++i)
        hundred.append(item(QStringLiteral("p2-%1").arg(i), QStringLiteral("{{base}}/images/%1.jpg").arg(i)));
    catalogue.addPage(QStringLiteral("covers"), 2, itemSearchAnswer(hundred, QStringLiteral("2")));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    SearchEngine engine(service.config(), quickLimits());
    const SearchOutcome outcome = engine.buildSearchResultFromKeywords(QStringLiteral("covers"), QStringLiteral("de"));
    ASSERT_EQ(outcome.albums->size(), 20);
    EXPECT_TRUE(outcome.failures.isEmpty());
    QStringList withCover;
    for (const auto &entry : *outcome.albums) {
        if (entry->cover())
            withCover.append(*entry->asinNumber());
    }
    EXPECT_EQ(withCover, (QStringList{"ok", "again", "second page", "wide"}));
    EXPECT_EQ(outcome.albums->at(0)->cover()->size(), QSize(40, 30));
    EXPECT_EQ(outcome.albums->at(11)->cover()->size(), QSize(1000, 200));

    // Nothing but the service's own pictures was asked for, each once.
    QStringList images;
    for (const QJsonObject &line : service.logLines()) {
        if (line[u"path"].toString() != u"/onca/soap")
            images.append(line[u"path"].toString());
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ(images, (QStringList{"/images/2.jpg", "/images/3.jpg", "/images/4.jpg", "/images/5.jpg", "/images/6.jpg",
                                   "/images/7.jpg", "/images/8.jpg", "/images/9.jpg", "/images/garbage.jpg",
                                   "/images/large.bmp", "/images/missing.jpg", "/images/other.png",
                                   "/images/small.jpg", "/images/wide.png"}));
}
