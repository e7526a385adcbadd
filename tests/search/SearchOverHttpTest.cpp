#include "search/SearchEngine.h"
#include "files/ImageEncoding.h"
#include "support/LocalCatalogue.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"

#include <QDir>
#include <QJsonArray>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace std::chrono_literals;

// Short bounds so that a hanging or endless answer fails quickly.
const FetchLimits quickLimits{2000ms, 1500ms, 256 * 1024};

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

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x * y) % 256));
    return image;
}

QStringList asinsOf(const ResultList &list)
{
    QStringList asins;
    for (const auto &entry : list)
        asins.append(entry->asinNumber().value_or(QStringLiteral("<absent>")));
    return asins;
}

// The "ItemPage" values of the search requests for the keywords, in the order they arrived.
QStringList requestedPages(const LocalCatalogue &catalogue, const QString &keywords)
{
    QStringList pages;
    for (const QJsonObject &line : catalogue.logLines()) {
        const QJsonObject query = line.value(QStringLiteral("query")).toObject();
        if (line.value(QStringLiteral("path")).toString() == u"/onca/soap"
            && query.value(QStringLiteral("Keywords")).toString() == keywords)
            pages.append(query.value(QStringLiteral("ItemPage")).toString());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

QStringList imageRequests(const LocalCatalogue &catalogue)
{
    QStringList paths;
    for (const QJsonObject &line : catalogue.logLines()) {
        const QString path = line.value(QStringLiteral("path")).toString();
        if (path != u"/onca/soap")
            paths.append(path);
    }
    return paths;
}

} // namespace

TEST(SearchOverHttp, FollowsTheAnnouncedTotalUpToThreePages)
{
    struct Case {
        std::optional<QString> total;
        int pages;
    };
    const QList<Case> cases{{QStringLiteral("0"), 1},  {QStringLiteral("1"), 1},           {QStringLiteral("2"), 2},
                            {QStringLiteral("3"), 3},  {QStringLiteral("4"), 3},           {QStringLiteral("99999999999"), 3},
                            {QStringLiteral("-2"), 1}, {QStringLiteral("seven"), 1},       {std::nullopt, 1}};
    TemporaryCatalogue catalogue;
    for (const Case &c : cases)
        addThreePages(catalogue, QStringLiteral("total %1").arg(c.total.value_or(QStringLiteral("missing"))), c.total);
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    for (const Case &c : cases) {
        const QString keywords = QStringLiteral("total %1").arg(c.total.value_or(QStringLiteral("missing")));
        SCOPED_TRACE(keywords.toStdString());
        SearchEngine engine(service.config());
        StatusRecorder status;
        const ResultListPtr result = engine.buildSearchResultFromKeywords(keywords, QStringLiteral("de"));
        ASSERT_NE(result, nullptr);

        QStringList expectedAsins, expectedPages;
        for (int n = 1; n <= c.pages; ++n) {
            expectedAsins << QStringLiteral("%1a").arg(n) << QStringLiteral("%1b").arg(n);
            expectedPages << QString::number(n);
        }
        EXPECT_EQ(asinsOf(*result), expectedAsins);
        EXPECT_EQ(requestedPages(service, keywords), expectedPages);
        EXPECT_EQ(status.lines, entryStatusLines(2 * c.pages));
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
        EXPECT_EQ(engine.buildSearchResultFromKeywords(QStringLiteral("Rock 'n' Roll"), store)->size(), 6) << store.toStdString();
    }

    const QList<QJsonObject> lines = service.logLines();
    ASSERT_EQ(lines.size(), 12);
    for (const QJsonObject &line : lines) {
        EXPECT_TRUE(line.value(QStringLiteral("signatureVerified")).toBool());
        const QJsonObject query = line.value(QStringLiteral("query")).toObject();
        EXPECT_EQ(query.keys(), (QStringList{"AWSAccessKeyId", "ItemPage", "Keywords", "Operation", "ResponseGroup",
                                             "SearchIndex", "Service", "Signature", "Timestamp"}));
        EXPECT_EQ(query.value(QStringLiteral("Keywords")).toString(), QStringLiteral("Rock n Roll"));
        EXPECT_EQ(query.value(QStringLiteral("Operation")).toString(), QStringLiteral("ItemSearch"));
        EXPECT_EQ(query.value(QStringLiteral("SearchIndex")).toString(), QStringLiteral("Music"));
        EXPECT_EQ(query.value(QStringLiteral("ResponseGroup")).toString(), QStringLiteral("Large"));
        EXPECT_EQ(query.value(QStringLiteral("Service")).toString(), QStringLiteral("AWSECommerceService"));
        EXPECT_EQ(query.value(QStringLiteral("AWSAccessKeyId")).toString(), ServiceConfig::placeholderAccessKey);
    }

    // Another secret: the service refuses every request, and the search finds nothing.
    ServiceConfig wrongSecret = service.config();
    wrongSecret.secretKey = QStringLiteral("not the secret");
    SearchEngine engine(wrongSecret);
    StatusRecorder status;
    EXPECT_TRUE(engine.buildSearchResultFromKeywords(QStringLiteral("Rock n Roll"), QStringLiteral("de"))->isEmpty());
    EXPECT_TRUE(status.lines.isEmpty());
    EXPECT_FALSE(service.logLines().last().value(QStringLiteral("signatureVerified")).toBool());
}

TEST(SearchOverHttp, AFailedPageAddsNothingAndTheCountGoesOn)
{
    const QList<QByteArray> faults{"hang", "close", "garbage", "status 500", "huge"};
    TemporaryCatalogue catalogue;
    for (const QByteArray &fault : faults) {
        addThreePages(catalogue, QStringLiteral("page 2 ") + QString::fromLatin1(fault), QStringLiteral("3"));
        catalogue.addFault(QStringLiteral("page 2 ") + QString::fromLatin1(fault), 2, fault);
        addThreePages(catalogue, QStringLiteral("page 1 ") + QString::fromLatin1(fault), QStringLiteral("3"));
        catalogue.addFault(QStringLiteral("page 1 ") + QString::fromLatin1(fault), 1, fault);
    }
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    for (const QByteArray &fault : faults) {
        SCOPED_TRACE(fault.toStdString());
        {
            const QString keywords = QStringLiteral("page 2 ") + QString::fromLatin1(fault);
            SearchEngine engine(service.config(), quickLimits);
            StatusRecorder status;
            const ResultListPtr result = engine.buildSearchResultFromKeywords(keywords, QStringLiteral("de"));
            EXPECT_EQ(asinsOf(*result), (QStringList{"1a", "1b", "3a", "3b"}));
            EXPECT_EQ(status.lines, entryStatusLines(4));
        }
        {
            // Without page 1 there is no total: nothing more is asked for.
            const QString keywords = QStringLiteral("page 1 ") + QString::fromLatin1(fault);
            SearchEngine engine(service.config(), quickLimits);
            StatusRecorder status;
            EXPECT_TRUE(engine.buildSearchResultFromKeywords(keywords, QStringLiteral("de"))->isEmpty());
            EXPECT_TRUE(status.lines.isEmpty());
            EXPECT_EQ(requestedPages(service, keywords), QStringList{QStringLiteral("1")});
        }
    }
}

TEST(SearchOverHttp, CoversComeOnlyFromTheWebAndWithinBounds)
{
    TemporaryCatalogue catalogue;
    catalogue.addImage(QStringLiteral("small.jpg"), encodedImage(picture(40, 30), "JPEG"));
    catalogue.addImage(QStringLiteral("other.png"), encodedImage(picture(20, 10), "PNG"));
    catalogue.addImage(QStringLiteral("large.bmp"), encodedImage(picture(400, 300), "BMP")); // past 256 KiB
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
        item(QStringLiteral("none")),
    }, QStringLiteral("2")));
    catalogue.addPage(QStringLiteral("covers"), 2, itemSearchAnswer({
        item(QStringLiteral("second page"), QStringLiteral("{{base}}/images/other.png")),
        item(QStringLiteral("page 1 picture"), QStringLiteral("{{base}}/images/small.jpg")),
    }, QStringLiteral("2")));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    SearchEngine engine(service.config(), quickLimits);
    const ResultListPtr result = engine.buildSearchResultFromKeywords(QStringLiteral("covers"), QStringLiteral("de"));
    ASSERT_EQ(asinsOf(*result), (QStringList{"ok", "again", "file", "ftp", "missing", "garbage", "large", "notaurl",
                                             "none", "second page", "page 1 picture"}));
    QStringList withCover;
    for (const auto &entry : *result) {
        if (entry->cover())
            withCover.append(*entry->asinNumber());
    }
    EXPECT_EQ(withCover, (QStringList{"ok", "again", "second page", "page 1 picture"}));
    EXPECT_EQ(result->at(0)->cover()->size(), QSize(40, 30));
    EXPECT_EQ(result->at(9)->cover()->size(), QSize(20, 10));

    // Nothing but the web service's own pictures was asked for, each picture once.
    QStringList images = imageRequests(service);
    std::sort(images.begin(), images.end());
    EXPECT_EQ(images, (QStringList{"/images/garbage.jpg", "/images/large.bmp", "/images/missing.jpg",
                                   "/images/other.png", "/images/small.jpg"}));

    // With room for it the large picture comes through.
    SearchEngine roomy(service.config());
    EXPECT_TRUE(roomy.buildSearchResultFromKeywords(QStringLiteral("covers"), QStringLiteral("de"))->at(6)->cover());
}
