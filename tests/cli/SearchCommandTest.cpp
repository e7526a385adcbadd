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
CliResult runSearch(const QStringList &arguments, const QStringList &serviceEnvironment = {})
{
    QTemporaryDir config;
    CliInvocation invocation;
    for (const QString &key : invocation.environment.keys()) {
        if (key.startsWith(QStringLiteral("TAGWRIGHT_")))
            invocation.environment.remove(key);
    }
    invocation.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    for (const QString &entry : serviceEnvironment)
        invocation.environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    const CliResult result = runCliWith(arguments, invocation);
    EXPECT_FALSE(result.crashed);
    return result;
}

QJsonArray albumsOf(const CliResult &run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return document.array();
}

} // namespace

TEST(SearchCommand, PrintsTheAlbumsAsJsonAndSaysWhyASearchFailed)
{
    LocalCatalogue service(sourceDir() + QStringLiteral("/data/catalogue"));
    ASSERT_TRUE(service.isRunning());
    const CliResult run = runSearch({"search", "Northern", "Lights"}, service.environment());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errLines(), entryStatusLines(9));
    const QJsonArray albums = albumsOf(run);
    ASSERT_EQ(albums.size(), 9);
    EXPECT_EQ(albums[0].toObject(), (QJsonObject{{"artistName", "The Halvard Quartet"}, {"albumName", "Northern Lights"},
                                                 {"asinNumber", "B0TW000001"}, {"yearOfPublication", "2019"},
                                                 {"genre", "Jazz"}, {"label", "Fjordline Records"}, {"numberOfDiscs", 1},
                                                 {"numberOfTracks", 8}, {"cover", QJsonObject{{"width", 300}, {"height", 300}}},
                                                 {"trackList", albums[0][u"trackList"]}}));
    EXPECT_EQ(albums[0][u"trackList"][2].toObject(),
              (QJsonObject{{"title", QStringLiteral("Tromsø Harbour")}, {"artist", "The Halvard Quartet"}}));

    // Nothing found is no failure; a failed search says why on its last line and exits 1.
    const QList<std::tuple<QStringList, QStringList, int, QStringList>> cases{
        {{"search", "Unknown"}, {}, 0, {}},
        {{"search", "--store=uk", "Blue"}, {}, 1, {"Search failed: \"uk\" is not a storefront; choose de, com, co.uk or fr."}},
        {{"search", "Northern Lights"}, {"TAGWRIGHT_HOST_DE=127.0.0.1:1"}, 1,
         {"Search failed: could not connect to 127.0.0.1:1 (connection refused)."}}};
    for (const auto &[arguments, environment, exitCode, errLines] : cases) {
        const CliResult searched = runSearch(arguments, service.environment() + environment);
        EXPECT_EQ(searched.exitCode, exitCode) << arguments.join(u' ').toStdString();
        EXPECT_EQ(searched.errLines(), errLines);
        EXPECT_TRUE(albumsOf(searched).isEmpty());
    }
}

TEST(SearchCommand, MemoryStaysBoundedWhateverTheAnswerSays)
{
    TemporaryCatalogue catalogue;
    catalogue.addImage(QStringLiteral("huge.png"), encodedPicture(5000, 5000, "PNG"));
    QStringList covered, many{QStringLiteral("<Item><Tracks><Disc>%1</Disc></Tracks></Item>")
                                  .arg(QStringLiteral("<Track>Song</Track>").repeated(135'000))};
    for (int i = 0; i < 13; ++i)
        covered.append(itemElement(QString::number(i), QStringLiteral("{{base}}/images/huge.png?%1").arg(i)));
    for (int i = 1; i < 5000; ++i)
        many.append(itemElement(QString::number(i)));
    // Ten items a page at most: the thirteen covers come on two pages.
    catalogue.addPage(QStringLiteral("covers"), 1, itemSearchAnswer(covered.mid(0, 10), QStringLiteral("2")));
    catalogue.addPage(QStringLiteral("covers"), 2, itemSearchAnswer(covered.mid(10), QStringLiteral("2")));
    catalogue.addPage(QStringLiteral("many"), 1, itemSearchAnswer(many));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());

    // Covers scaled down, items past the tenth and tracks past the thousandth left out.
    const CliResult covers = runSearch({"search", "covers"}, service.environment());
    EXPECT_EQ(albumsOf(covers).size(), 13) << covers.err.toStdString();
    EXPECT_EQ(albumsOf(covers)[12][u"cover"], (QJsonObject{{"width", 1000}, {"height", 1000}}));
    const QJsonArray found = albumsOf(runSearch({"search", "many"}, service.environment()));
    ASSERT_EQ(found.size(), 10);
    EXPECT_EQ(found[0][u"numberOfTracks"], 1000);
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own bookkeeping dominates there
    rusage children{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
    EXPECT_LT(children.ru_maxrss, 256 * 1024) << "peak resident KiB of the largest search";
#endif
}

TEST(SearchCommand, ExplainsItsUsage)
{
    for (const QStringList &wrong : {QStringList{"search", "--store", "fr"}, {"search", "--shop", "x"}, {"search", "--store"}})
        EXPECT_EQ(runSearch(wrong).exitCode, 2) << wrong.join(u' ').toStdString();
    const CliResult help = runSearch({"search", "--help"});
    EXPECT_TRUE(help.exitCode == 0 && help.out.contains("search [--store de|com|co.uk|fr] KEYWORDS...") && help.out.contains("TAGWRIGHT_HOST_DE"));
    EXPECT_TRUE(runSearch({"--version"}).out.startsWith("tagwright-cli ") && runSearch({"tag", "--help"}).out.contains("--album FILE|-"));
}
