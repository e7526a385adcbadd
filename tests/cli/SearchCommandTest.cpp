#include "support/CliRunner.h"
#include "support/Mp3Fixtures.h"
#include "support/LocalCatalogue.h"
#include "support/StatusRecorder.h"
#include "support/TemporaryCatalogue.h"
#include "support/TestPaths.h"

#include <QJsonArray>
#include <QFile>
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
    const QJsonValue null = QJsonValue::Null;
    EXPECT_EQ(albums[0].toObject(), (QJsonObject{{"artistName", "The Halvard Quartet"}, {"albumName", "Northern Lights"},
                                                 {"asinNumber", "B0TW000001"}, {"yearOfPublication", "2019"},
                                                 {"genre", "Jazz"}, {"label", "Fjordline Records"}, {"numberOfDiscs", 1},
                                                 {"numberOfTracks", 8}, {"cover", QJsonObject{{"width", 300}, {"height", 300}}},
                                                 {"coverUrl", albums[0][u"coverUrl"]}, {"id", null}, {"releaseGroupId", null},
                                                 {"albumArtistId", null}, {"trackList", albums[0][u"trackList"]}}));
    EXPECT_TRUE(albums[0][u"coverUrl"].toString().startsWith(service.baseUrl() + QStringLiteral("/images/")));
    EXPECT_EQ(albums[0][u"trackList"][2].toObject(),
              (QJsonObject{{"title", QStringLiteral("Tromsø Harbour")}, {"artist", "The Halvard Quartet"}, {"discNumber", null},
                           {"trackNumber", null}, {"length", null}, {"id", null}, {"recordingId", null}, {"artistId", null}}));

    // Nothing found is no failure; a failed search says why on its last line and exits 1.
    const QList<std::tuple<QStringList, QStringList, int, QStringList>> cases{
        {{"search", "Unknown"}, {}, 0, {}},
        {{"search", "--store=uk", "Blue"}, {}, 1, {"Search failed: \"uk\" is not a storefront; choose de, com, co.uk, fr or musicbrainz."}},
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
    EXPECT_TRUE(help.exitCode == 0 && help.out.contains("search [--store de|com|co.uk|fr|musicbrainz] KEYWORDS...") && help.out.contains("TAGWRIGHT_HOST_DE"));
    EXPECT_TRUE(runSearch({"--version"}).out.startsWith("tagwright-cli ") && runSearch({"tag", "--help"}).out.contains("--album FILE|-"));
}

TEST(SearchCommand, FindsAndLooksUpMusicBrainzReleasesAndTagsWithTheirCover)
{
    LocalCatalogue service(sourceDir() + QStringLiteral("/data/catalogue"));
    ASSERT_TRUE(service.isRunning());
    const QJsonValue null = QJsonValue::Null;
    const CliResult found = runSearch({"search", "--store", "musicbrainz", "Northern", "Lights"}, service.environment());
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(found.errLines(), entryStatusLines(6));
    ASSERT_EQ(albumsOf(found).size(), 6);
    EXPECT_EQ(albumsOf(found)[0].toObject(),
              (QJsonObject{{"artistName", "The Halvard Quartet"}, {"albumName", "Northern Lights"}, {"asinNumber", "B0TW000001"},
                           {"yearOfPublication", "2019"}, {"genre", null}, {"label", "Fjordline Records"}, {"numberOfDiscs", 1},
                           {"numberOfTracks", 8}, {"cover", null}, {"coverUrl", null}, {"trackList", null},
                           {"id", "1649079c-3a3f-5dc9-8022-965703279c25"}, {"releaseGroupId", "3c0ed2e4-a807-59ec-add9-93388c1181ab"},
                           {"albumArtistId", "d66c6948-0764-57d9-a860-df126558047a"}}));

    const QString live = QStringLiteral("9f37fa98-207b-5baa-9d15-649002145e97"); // on two discs
    const CliResult lookedUp = runSearch({"album", "--store", "musicbrainz", live}, service.environment());
    EXPECT_EQ(lookedUp.exitCode, 0) << lookedUp.err.toStdString();
    ASSERT_EQ(albumsOf(lookedUp).size(), 1);
    const QJsonObject album = albumsOf(lookedUp)[0].toObject();
    EXPECT_EQ((QJsonArray{album[u"id"], album[u"genre"], album[u"numberOfDiscs"], album[u"cover"], album[u"coverUrl"]}),
              (QJsonArray{live, "singer-songwriter", 2, QJsonObject{{"width", 300}, {"height", 300}},
                          QStringLiteral("%1/release/%2/front-500").arg(service.baseUrl(), live)}));
    const QJsonArray tracks = album[u"trackList"].toArray();
    ASSERT_EQ(tracks.size(), 11);
    EXPECT_EQ(tracks[6].toObject(), (QJsonObject{{"title", "Lanterns"}, {"artist", "Mira Okafor"}, {"discNumber", 2},
                                                 {"trackNumber", 1}, {"length", 268800}, {"id", tracks[6][u"id"]},
                                                 {"recordingId", tracks[6][u"recordingId"]},
                                                 {"artistId", "f2ca68bf-19b8-59ac-afc8-56b7ae4df97c"}}));
    EXPECT_EQ(tracks[6][u"id"].toString().size() + tracks[6][u"recordingId"].toString().size(), 72);

    // Tagging with the album fetches the cover its coverUrl names.
    QTemporaryDir files;
    QFile json(files.filePath("album.json"));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly) && json.write(lookedUp.out) == lookedUp.out.size());
    json.close();
    ASSERT_TRUE(Mp3Fixtures::writeMp3(files.filePath("1.mp3")));
    EXPECT_EQ(runSearch({"tag", "--album", json.fileName(), files.filePath("1.mp3")}, service.environment()).exitCode, 0);
    const QJsonObject tags = QJsonDocument::fromJson(runCli({"read", files.filePath("1.mp3")}).out).array()[0].toObject();
    EXPECT_EQ((QJsonArray{tags[u"Title"], tags[u"Cover"]}), (QJsonArray{"Intro: Doors Open", QJsonObject{{"width", 300}, {"height", 300}}}));

    // A release the service does not know is named, and so is a catalogue that looks nothing up.
    const QList<std::tuple<QStringList, int, QString>> failures{
        {{"album", "00000000-0000-0000-0000-000000000000"}, 1, "knows no release with the id"},
        {{"album", "--store", "de", live}, 2, "only musicbrainz looks albums up"},
    };
    for (const auto &[arguments, exitCode, message] : failures) {
        const CliResult failed = runSearch(arguments, service.environment());
        EXPECT_EQ(failed.exitCode, exitCode);
        EXPECT_TRUE(failed.err.contains(message.toUtf8())) << failed.err.toStdString();
    }
}
