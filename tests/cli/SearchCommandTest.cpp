#include "files/ImageEncoding.h"
#include "support/CliRunner.h"
#include "support/LocalCatalogue.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestPaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

// Runs the real tagwright-cli with the given service environment and no user settings.
CliResult runSearch(const QStringList &arguments, const QStringList &serviceEnvironment)
{
    QTemporaryDir config;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &key : environment.keys()) {
        if (key.startsWith(QStringLiteral("TAGWRIGHT_")))
            environment.remove(key);
    }
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    for (const QString &entry : serviceEnvironment)
        environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));

    CliInvocation invocation;
    invocation.environment = environment;
    const CliResult result = runCliWith(arguments, invocation);
    EXPECT_FALSE(result.crashed);
    return result;
}

QJsonArray albumsOf(const CliResult &run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_TRUE(document.isArray());
    return document.array();
}

} // namespace

TEST(SearchCommand, PrintsTheSampleCatalogueAsJson)
{
    LocalCatalogue service(sourceDir() + QStringLiteral("/data/catalogue"));
    ASSERT_TRUE(service.isRunning());
    const CliResult run = runSearch({"search", "Northern", "Lights"}, service.environment());
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errLines(), entryStatusLines(9));
    const QJsonArray albums = albumsOf(run);
    ASSERT_EQ(albums.size(), 9);

    const QJsonObject first = albums[0].toObject();
    EXPECT_EQ(first, (QJsonObject{{"artistName", "The Halvard Quartet"},
                                  {"albumName", "Northern Lights"},
                                  {"asinNumber", "B0TW000001"},
                                  {"yearOfPublication", "2019"},
                                  {"genre", "Jazz"},
                                  {"label", "Fjordline Records"},
                                  {"numberOfDiscs", 1},
                                  {"numberOfTracks", 8},
                                  {"cover", QJsonObject{{"width", 300}, {"height", 300}}},
                                  {"trackList", first[u"trackList"]}}));
    EXPECT_EQ(first[u"trackList"].toArray()[2].toObject(),
              (QJsonObject{{"title", QStringLiteral("Tromsø Harbour")}, {"artist", "The Halvard Quartet"}}));

    int pages = 0;
    for (const QJsonObject &line : service.logLines()) {
        if (line[u"path"].toString() == u"/onca/soap") {
            ++pages;
            EXPECT_TRUE(line[u"signatureVerified"].toBool());
        }
    }
    EXPECT_EQ(pages, 3);
}

TEST(SearchCommand, SaysWhyASearchFailedAndExitsOneWhenEveryPageDid)
{
    TemporaryCatalogue catalogue;
    catalogue.addPage(QStringLiteral("Blue Moon"), 1, itemSearchAnswer({"<Item><ASIN>B000000001</ASIN></Item>"}));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    // The German storefront (the default) leads to a port where nothing listens.
    const QStringList environment = service.environment() << QStringLiteral("TAGWRIGHT_HOST_DE=127.0.0.1:1");

    const CliResult found = runSearch({"search", "--store", "com", "Blue", "Moon"}, environment);
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(albumsOf(found).size(), 1);
    EXPECT_EQ(found.errLines(), entryStatusLines(1));
    const CliResult nothing = runSearch({"search", "--store=com", "Unknown"}, environment);
    EXPECT_EQ(nothing.exitCode, 0);
    EXPECT_TRUE(albumsOf(nothing).isEmpty());
    EXPECT_TRUE(nothing.errLines().isEmpty()) << nothing.err.toStdString();

    const QList<std::pair<QStringList, QString>> failing{
        {{"search", "Blue", "Moon"}, "Search failed: could not connect to 127.0.0.1:1 (connection refused)."},
        {{"search", "--store", "COM", "Blue", "Moon"}, "Search failed: \"COM\" is not a storefront; choose de, com, co.uk or fr."},
        {{"search", "--store", "uk", "Blue Moon"}, "Search failed: \"uk\" is not a storefront; choose de, com, co.uk or fr."}};
    for (const auto &[arguments, reason] : failing) {
        const CliResult failed = runSearch(arguments, environment);
        EXPECT_EQ(failed.exitCode, 1) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(albumsOf(failed).isEmpty());
        EXPECT_EQ(failed.errLines(), QStringList{reason});
    }
    // Storefront codes outside the four reach no host at all.
    EXPECT_EQ(service.logLines().size(), 2);
}

TEST(SearchCommand, MemoryStaysBoundedWhateverTheAnswerSays)
{
    TemporaryCatalogue catalogue;
    QImage huge(5000, 5000, QImage::Format_RGB32);
    huge.fill(Qt::darkRed);
    catalogue.addImage(QStringLiteral("huge.png"), encodedImage(huge, "PNG"));
    QStringList covered, many;
    for (int i = 0; i < 13; ++i)
        covered.append(QStringLiteral("<Item><LargeImage><URL>{{base}}/images/huge.png?%1</URL></LargeImage></Item>").arg(i));
    for (int i = 0; i < 5000; ++i)
        many.append(QStringLiteral("<Item><ASIN>%1</ASIN><Tracks><Disc><Track>t</Track></Disc></Tracks></Item>").arg(i));
    // Ten items a page at most: the thirteen covers come on two pages.
    catalogue.addPage(QStringLiteral("covers"), 1, itemSearchAnswer(covered.mid(0, 10), QStringLiteral("2")));
    catalogue.addPage(QStringLiteral("covers"), 2, itemSearchAnswer(covered.mid(10), QStringLiteral("2")));
    catalogue.addPage(QStringLiteral("items"), 1, itemSearchAnswer(many));
    catalogue.addPage(QStringLiteral("tracks"), 1, itemSearchAnswer({QStringLiteral("<Item><Tracks><Disc>%1</Disc></Tracks></Item>")
                                                                         .arg(QStringLiteral("<Track>Song</Track>").repeated(135'000))}));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    // Covers scaled down, items past the tenth and tracks past the thousandth left out.
    const QList<std::tuple<QString, int, QJsonValue, QJsonValue>> cases{
        {"covers", 13, QJsonObject{{"width", 1000}, {"height", 1000}}, QJsonValue::Null},
        {"items", 10, QJsonValue::Null, 1},
        {"tracks", 1, QJsonValue::Null, 1000}};
    for (const auto &[keywords, albums, cover, tracks] : cases) {
        const CliResult run = runSearch({"search", keywords}, service.environment());
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QJsonArray found = albumsOf(run);
        ASSERT_EQ(found.size(), albums) << keywords.toStdString();
        EXPECT_EQ(found.last()[u"cover"], cover);
        EXPECT_EQ(found.last()[u"numberOfTracks"], tracks.isNull() ? QJsonValue(0) : tracks);
    }
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own bookkeeping dominates there
    rusage children{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
    EXPECT_LT(children.ru_maxrss, 256 * 1024) << "peak resident KiB of the largest search";
#endif
}

TEST(SearchCommand, ExplainsItsUsage)
{
    const CliResult noKeywords = runSearch({"search", "--store", "fr"}, {});
    EXPECT_EQ(noKeywords.exitCode, 2);
    EXPECT_TRUE(noKeywords.out.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(noKeywords.err).contains(QStringLiteral("no keywords")));

    EXPECT_EQ(runSearch({"search", "--shop", "x"}, {}).exitCode, 2);
    EXPECT_EQ(runSearch({"search", "--store"}, {}).exitCode, 2);

    const CliResult help = runSearch({"--help"}, {});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("search [--store de|com|co.uk|fr] KEYWORDS..."));
    EXPECT_TRUE(help.out.contains("--store CODE"));
    const CliResult searchHelp = runSearch({"search", "--help"}, {});
    EXPECT_EQ(searchHelp.exitCode, 0);
    EXPECT_TRUE(searchHelp.out.contains("TAGWRIGHT_HOST_DE"));
}
