#include "support/CliRunner.h"
#include "support/LocalCatalogue.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestPaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(SearchCommand, EmptyResultsAndStorefronts)
{
    TemporaryCatalogue catalogue;
    catalogue.addPage(QStringLiteral("Blue Moon"), 1, itemSearchAnswer({"<Item><ASIN>B000000001</ASIN></Item>"}));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    // Only the United States storefront leads to the service; the German one (the default)
    // to a port where nothing listens.
    QStringList environment = service.environment();
    environment << QStringLiteral("TAGWRIGHT_HOST_DE=127.0.0.1:1");

    const CliResult found = runSearch({"search", "--store", "com", "Blue", "Moon"}, environment);
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(albumsOf(found).size(), 1);
    EXPECT_EQ(found.errLines(), entryStatusLines(1));

    for (const QStringList &arguments :
         {QStringList{"search", "Blue", "Moon"}, QStringList{"search", "--store=com", "Unknown"},
          QStringList{"search", "--store", "COM", "Blue", "Moon"}, QStringList{"search", "--store", "uk", "Blue Moon"}}) {
        const CliResult empty = runSearch(arguments, environment);
        EXPECT_EQ(empty.exitCode, 0) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(albumsOf(empty).isEmpty()) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(empty.errLines().isEmpty()) << empty.err.toStdString();
    }
    // Storefront codes outside the four reach no host at all.
    EXPECT_EQ(service.logLines().size(), 2);
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
