#include "support/CliRunner.h"
#include "support/LocalCatalogue.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestPaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QStringList errLines;
};

// Runs the real tagwright-cli with the given service environment and no user settings.
CliRun runSearch(const QStringList &arguments, const QStringList &serviceEnvironment)
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
    CliRun run;
    if (result.crashed)
        return run;
    run.exitCode = result.exitCode;
    run.out = result.out;
    run.errLines = result.errLines();
    return run;
}

QJsonArray albumsOf(const CliRun &run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_TRUE(document.isArray());
    return document.array();
}

QStringList statusLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("New entry processed. %1 entries processed.").arg(i);
    return lines;
}

QStringList titlesOf(const QJsonValue &trackList)
{
    QStringList titles;
    for (const QJsonValue &track : trackList.toArray())
        titles << track[u"title"].toString();
    return titles;
}

} // namespace

TEST(SearchCommand, PrintsTheSampleCatalogueAsJson)
{
    LocalCatalogue service(sourceDir() + QStringLiteral("/data/catalogue"));
    ASSERT_TRUE(service.isRunning());
    const CliRun run = runSearch({QStringLiteral("search"), QStringLiteral("Northern"), QStringLiteral("Lights")},
                              service.environment());
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errLines, statusLines(9));
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

    // Two discs in one run of tracks; the colon in the title became a hyphen-minus.
    const QJsonObject twoDiscs = albums[1].toObject();
    EXPECT_EQ(twoDiscs[u"albumName"].toString(), u"Northern Lights- Live at Harbour Hall");
    EXPECT_EQ(twoDiscs[u"numberOfDiscs"].toInt(), 2);
    EXPECT_EQ(twoDiscs[u"numberOfTracks"].toInt(), 11);
    const QStringList twoDiscTitles = titlesOf(twoDiscs[u"trackList"]);
    EXPECT_EQ(twoDiscTitles.first(), u"Intro- Doors Open");
    EXPECT_EQ(twoDiscTitles.mid(5, 2), (QStringList{"Letters Home", "Lanterns"}));

    // Two credited artists: the album and its tracks have the empty artist, not null.
    const QJsonObject severalArtists = albums[2].toObject();
    EXPECT_EQ(severalArtists[u"artistName"], QJsonValue(""));
    EXPECT_EQ(severalArtists[u"trackList"].toArray()[0][u"artist"], QJsonValue(""));

    EXPECT_TRUE(albums[3][u"trackList"].isNull());
    EXPECT_EQ(albums[3][u"numberOfTracks"].toInt(), 0);
    EXPECT_TRUE(albums[5][u"cover"].isNull());
    EXPECT_EQ(albums[6][u"yearOfPublication"].toString(), u"2012");
    EXPECT_EQ(albums[8][u"artistName"].toString(), u"Marrow & Pine");

    int pages = 0;
    for (const QJsonObject &line : service.logLines()) {
        if (line[u"path"].toString() == u"/onca/soap") {
            ++pages;
            EXPECT_TRUE(line[u"signatureVerified"].toBool());
        }
    }
    EXPECT_EQ(pages, 3);
}

TEST(SearchCommand, WritesAbsentTextsAsNull)
{
    TemporaryCatalogue catalogue;
    catalogue.addPage(QStringLiteral("Sparse"), 1,
                      "<ItemSearchResponse xmlns=\"http://webservices.amazon.com/AWSECommerceService/2011-08-01\">"
                      "<Items><TotalPages>1</TotalPages>"
                      "<Item><ItemAttributes><Title>Only a Title</Title></ItemAttributes>"
                      "<Tracks><Disc Number=\"1\"><Track Number=\"1\"></Track></Disc></Tracks></Item>"
                      "<Item/></Items></ItemSearchResponse>");
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    const CliRun run = runSearch({QStringLiteral("search"), QStringLiteral("Sparse")}, service.environment());
    ASSERT_EQ(run.exitCode, 0);
    const QJsonArray albums = albumsOf(run);
    ASSERT_EQ(albums.size(), 2);
    const QJsonObject titled = albums[0].toObject();
    EXPECT_EQ(titled, (QJsonObject{{"artistName", ""},
                                   {"albumName", "Only a Title"},
                                   {"asinNumber", QJsonValue::Null},
                                   {"yearOfPublication", QJsonValue::Null},
                                   {"genre", ""},
                                   {"label", ""},
                                   {"numberOfDiscs", 0},
                                   {"numberOfTracks", 1},
                                   {"cover", QJsonValue::Null},
                                   {"trackList", QJsonArray{QJsonObject{{"title", ""}, {"artist", ""}}}}}));
    EXPECT_TRUE(albums[1][u"trackList"].isNull());
    EXPECT_TRUE(albums[1][u"asinNumber"].isNull());
}

TEST(SearchCommand, EmptyResultsAndStorefronts)
{
    TemporaryCatalogue catalogue;
    catalogue.addPage(QStringLiteral("Blue Moon"), 1,
                      "<ItemSearchResponse><Items><TotalPages>1</TotalPages>"
                      "<Item><ASIN>B000000001</ASIN></Item></Items></ItemSearchResponse>");
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    // Only the United States storefront leads to the service; the German one (the default)
    // to a port where nothing listens.
    QStringList environment = service.environment();
    environment << QStringLiteral("TAGWRIGHT_HOST_DE=127.0.0.1:1");

    const CliRun found = runSearch({QStringLiteral("search"), QStringLiteral("--store"), QStringLiteral("com"),
                                 QStringLiteral("Blue"), QStringLiteral("Moon")},
                                environment);
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(albumsOf(found).size(), 1);
    EXPECT_EQ(found.errLines, statusLines(1));

    for (const QStringList &arguments :
         {QStringList{"search", "Blue", "Moon"}, QStringList{"search", "--store=com", "Unknown"},
          QStringList{"search", "--store", "COM", "Blue", "Moon"}, QStringList{"search", "--store", "uk", "Blue Moon"}}) {
        const CliRun empty = runSearch(arguments, environment);
        EXPECT_EQ(empty.exitCode, 0) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(albumsOf(empty).isEmpty()) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(empty.errLines.isEmpty()) << empty.errLines.join(u'\n').toStdString();
    }
    // Storefront codes outside the four reach no host at all.
    EXPECT_EQ(service.logLines().size(), 2);
}

TEST(SearchCommand, ExplainsItsUsage)
{
    const CliRun noKeywords = runSearch({QStringLiteral("search"), QStringLiteral("--store"), QStringLiteral("fr")}, {});
    EXPECT_EQ(noKeywords.exitCode, 2);
    EXPECT_TRUE(noKeywords.out.isEmpty());
    EXPECT_TRUE(noKeywords.errLines.join(u'\n').contains(QStringLiteral("no keywords")));

    EXPECT_EQ(runSearch({QStringLiteral("search"), QStringLiteral("--shop"), QStringLiteral("x")}, {}).exitCode, 2);
    EXPECT_EQ(runSearch({QStringLiteral("search"), QStringLiteral("--store")}, {}).exitCode, 2);

    const CliRun help = runSearch({QStringLiteral("--help")}, {});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("search [--store de|com|co.uk|fr] KEYWORDS..."));
    EXPECT_TRUE(help.out.contains("--store CODE"));
    const CliRun searchHelp = runSearch({QStringLiteral("search"), QStringLiteral("--help")}, {});
    EXPECT_EQ(searchHelp.exitCode, 0);
    EXPECT_TRUE(searchHelp.out.contains("TAGWRIGHT_HOST_DE"));
}
