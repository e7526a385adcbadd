#include "search/storefront/SearchEngine.h"
#include "support/LocalCatalogue.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Three pages of two items each ("<p>a", "<p>b"), announcing the given total on page 1.
void addThreePages(TemporaryCatalogue &catalogue, const QString &keywords, const std::optional<QString> &total)
{
    for (int n = 1; n <= 3; ++n)
        catalogue.addPage(keywords, n, itemSearchAnswer({itemElement(QStringLiteral("%1a").arg(n)), itemElement(QStringLiteral("%1b").arg(n))},
                                                        n == 1 ? total : QStringLiteral("3")));
}

// Runs a search with short bounds, so that a hanging or endless answer fails quickly, and
// checks the status lines it gave out: one per album, counting on across pages.
SearchOutcome search(const ServiceConfig &config, const QString &keywords, const QString &store = QStringLiteral("de"))
{
    FetchLimits quick;
    quick.totalTimeout = std::chrono::milliseconds(1500);
    quick.maxBodyBytes = 256 * 1024;
    SearchEngine engine(config, quick);
    StatusRecorder status;
    SearchOutcome outcome = engine.buildSearchResultFromKeywords(keywords, store, &status.control);
    EXPECT_EQ(status.lines, entryStatusLines(int(outcome.albums->size())));
    return outcome;
}

QStringList asinsOf(const SearchOutcome &outcome)
{
    QStringList asins;
    for (const auto &entry : *outcome.albums)
        asins.append(entry->asinNumber().value_or(QStringLiteral("-")) + (entry->cover() ? QStringLiteral("+cover") : QString()));
    return asins;
}

} // namespace

TEST(SearchOverHttp, SignsEveryPageAndFollowsTheAnnouncedTotalUpToThree)
{
    const QList<std::pair<QString, int>> cases{{"0", 1}, {"1", 1}, {"2", 2}, {"4", 3}, {"99999999999", 3}, {"-2", 1}, {"", 1}};
    const QStringList stores{"de", "com", "co.uk", "fr"};
    TemporaryCatalogue catalogue;
    for (const auto &[total, pages] : cases) // "" announces no total at all
        addThreePages(catalogue, QStringLiteral("Rock n Roll ") + total, total.isEmpty() ? std::nullopt : std::optional(total));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    int requests = 0;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        // Apostrophes are removed from the keywords before they are sent.
        const SearchOutcome outcome = search(service.config(), QStringLiteral("Rock 'n' Roll ") + cases[i].first, stores[i % 4]);
        QStringList expected;
        for (int n = 1; n <= cases[i].second; ++n)
            expected << QStringLiteral("%1a").arg(n) << QStringLiteral("%1b").arg(n);
        EXPECT_EQ(asinsOf(outcome), expected) << cases[i].first.toStdString();
        EXPECT_TRUE(outcome.failures.isEmpty());
        requests += cases[i].second;
    }
    const QList<QJsonObject> lines = service.logLines();
    EXPECT_EQ(lines.size(), requests) << "no page past the announced total is asked for";
    for (const QJsonObject &line : lines) {
        const QJsonObject query = line[u"query"].toObject();
        EXPECT_TRUE(line[u"signatureVerified"].toBool());
        EXPECT_EQ(query, (QJsonObject{{"AWSAccessKeyId", ServiceConfig::placeholderAccessKey}, {"ItemPage", query[u"ItemPage"]},
                                      {"Keywords", query[u"Keywords"]}, {"Operation", "ItemSearch"},
                                      {"ResponseGroup", "Large"}, {"SearchIndex", "Music"}, {"Service", "AWSECommerceService"},
                                      {"Signature", query[u"Signature"]}, {"Timestamp", query[u"Timestamp"]}}));
    }
}

TEST(SearchOverHttp, SaysWhyPagesFailedAndKeepsTheRest)
{
    struct Case {
        const char *keywords;
        int failingPage;
        QByteArray fault;
        QString status; // what the failure status line starts with; empty for none
    };
    const QList<Case> cases{
        {"expired", 1, "status 400\n" + recordedAnswer("error-requestexpired-itemsearch.xml"),
         "Search failed: the service refused the request as expired (RequestExpired); check the date"},
        {"unknown key", 1, "status 403\n" + recordedAnswer("error-invalidclienttokenid-itemsearch.xml"),
         "Search failed: the service does not know the access key (InvalidClientTokenId)"},
        {"no match", 1, "status 200\n" + recordedAnswer("error-noexactmatches-music-us-medium.xml"), {}},
        {"server error", 1, "status 500", "Search failed: 127.0.0.1:"},
        {"garbage", 1, "garbage", "Search failed: the answer from 127.0.0.1:"},
        {"hang", 1, "hang", "Search failed: 127.0.0.1:"},
        {"close", 1, "close", "Search failed: the answer from 127.0.0.1:"},
        {"huge", 1, "huge", "Search failed: the answer from 127.0.0.1:"},
        {"page 2 hangs", 2, "hang", "Search incomplete: page 2 failed: 127.0.0.1:"},
        {"page 3 is garbage", 3, "garbage", "Search incomplete: page 3 failed: the answer"}};
    TemporaryCatalogue catalogue;
    for (const Case &c : cases) {
        addThreePages(catalogue, QLatin1String(c.keywords), QStringLiteral("3"));
        catalogue.addFault(QLatin1String(c.keywords), c.failingPage, c.fault);
    }
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    for (const Case &c : cases) {
        const SearchOutcome outcome = search(service.config(), QLatin1String(c.keywords));
        const QStringList kept = QStringList{"1a", "1b", "2a", "2b", "3a", "3b"}.filter(
            QRegularExpression(c.failingPage == 1 ? QStringLiteral("^$") : QStringLiteral("^[^%1]").arg(c.failingPage)));
        EXPECT_EQ(asinsOf(outcome), kept) << c.keywords;
        EXPECT_TRUE(outcome.failureStatus().value_or(QString()).startsWith(c.status))
            << c.keywords << ": " << outcome.failureStatus().value_or(QStringLiteral("no failure")).toStdString();
        EXPECT_EQ(outcome.everyPageFailed(), c.failingPage == 1 && !c.status.isEmpty()) << c.keywords;
    }

    // The service's own refusal of a wrong signature. (A storefront without a host, which is
    // never asked, is checked with the command-line search.)
    ServiceConfig wrongSecret = service.config();
    wrongSecret.secretKey = QStringLiteral("not the secret");
    const SearchOutcome refused = search(wrongSecret, QStringLiteral("no faults"));
    EXPECT_TRUE(refused.albums->isEmpty());
    EXPECT_EQ(refused.failureStatus(), "Search failed: the service refused the signature (SignatureDoesNotMatch); "
                                       "check the secret key in Service settings.");
}

TEST(SearchOverHttp, CoversComeOnlyFromTheWebWithinBoundsAndScaledDown)
{
    TemporaryCatalogue catalogue;
    catalogue.addImage(QStringLiteral("small.jpg"), encodedPicture(40, 30, "JPEG"));
    catalogue.addImage(QStringLiteral("large.bmp"), encodedPicture(400, 300, "BMP")); // past 256 KiB
    catalogue.addImage(QStringLiteral("wide.png"), encodedPicture(6000, 1200, "PNG"));
    catalogue.addImage(QStringLiteral("garbage.jpg"), QByteArray("this is no picture"));
    catalogue.addImage(QStringLiteral("bomb.pgm"), QByteArray("P5\n6000 6000\n255\n")); // refused before decoding
    const QString localFile = QDir(catalogue.path()).filePath(QStringLiteral("images/small.jpg"));
    QStringList firstPage;
    for (const auto &[asin, url] : QList<std::pair<QString, QString>>{
             {"ok", "{{base}}/images/small.jpg"}, {"again", "{{base}}/images/small.jpg"}, {"file", "file://" + localFile},
             {"ftp", "ftp://127.0.0.1/images/small.jpg"}, {"missing", "{{base}}/images/missing.jpg"},
             {"garbage", "{{base}}/images/garbage.jpg"}, {"bomb", "{{base}}/images/bomb.pgm"},
             {"large", "{{base}}/images/large.bmp"}, {"notaurl", "http://exa mple/ x.jpg"},
             {"nohost", "http:///localhost:1/images/small.jpg"}})
        firstPage.append(itemElement(asin, url));
    catalogue.addPage(QStringLiteral("covers"), 1, itemSearchAnswer(firstPage, QStringLiteral("2")));
    // A hundred items: those past the tenth are neither read nor their covers asked for.
    QStringList hundred{itemElement(QStringLiteral("wide"), QStringLiteral("{{base}}/images/wide.png"))};
    for (int i = 1; i < 100; ++i)
        hundred.append(itemElement(QString::number(i), QStringLiteral("{{base}}/images/small.jpg?%1").arg(i)));
    catalogue.addPage(QStringLiteral("covers"), 2, itemSearchAnswer(hundred, QStringLiteral("2")));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    const SearchOutcome outcome = search(service.config(), QStringLiteral("covers"));
    EXPECT_EQ(asinsOf(outcome), (QStringList{"ok+cover", "again+cover", "file", "ftp", "missing", "garbage", "bomb", "large",
                                             "notaurl", "nohost", "wide+cover", "1+cover", "2+cover", "3+cover",
                                             "4+cover", "5+cover", "6+cover", "7+cover", "8+cover", "9+cover"}));
    EXPECT_EQ(outcome.albums->at(0)->cover()->size(), QSize(40, 30));
    EXPECT_EQ(outcome.albums->at(10)->cover()->size(), QSize(1000, 200));
    // Nothing but the service's own pictures was asked for, each once.
    QStringList images;
    for (const QJsonObject &line : service.logLines())
        images.append(line[u"path"].toString());
    EXPECT_EQ(images.count(QStringLiteral("/onca/soap")), 2);
    EXPECT_EQ(images.count(QStringLiteral("/images/small.jpg")), 10);
    EXPECT_EQ(QSet<QString>(images.cbegin(), images.cend()),
              (QSet<QString>{"/onca/soap", "/images/small.jpg", "/images/missing.jpg", "/images/garbage.jpg",
                             "/images/bomb.pgm", "/images/large.bmp", "/images/wide.png"}));
}
