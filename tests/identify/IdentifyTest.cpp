// Identifying albums of files: grouping files into albums, the clues and searches they give,
// and the candidates found, scored and paired against the local catalogue service's
// MusicBrainz answers.
#include "common/JobControl.h"
#include "files/MetadataKeys.h"
#include "identify/AlbumIdentifier.h"
#include "search/musicbrainz/MusicBrainzSearch.h"
#include "support/LocalCatalogue.h"
#include "support/SampleReleases.h"
#include "support/TestFiles.h"
#include "support/TestPacer.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace SampleReleases;

namespace {

// The albums among the paths, as a run over a library reads them.
QList<AlbumFiles> albumsIn(const QStringList &paths)
{
    QList<AlbumFiles> albums;
    for (const AlbumFiles::Folder &folder : AlbumFiles::foldersOf(paths))
        albums.append(AlbumFiles::read(folder));
    return albums;
}

QVariantMap tagsOf(const QString &album, const QString &artist, const QString &title, int number)
{
    return {{MetadataKeys::album, album}, {MetadataKeys::albumArtist, artist}, {MetadataKeys::trackArtist, artist},
            {MetadataKeys::title, title}, {MetadataKeys::trackNumber, QString::number(number)}, {MetadataKeys::year, QStringLiteral("2019")}};
}

} // namespace

TEST(AlbumFiles, FoldersAreAlbumsDiscFoldersJoinTheirParentAndTagsSplitAFolder)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    ASSERT_TRUE(makeFiles(root, {{"Set/CD1/01.mp3", 1000}, {"Set/CD 2/01.mp3", 1000}, {"Set/Disc 3/01.mp3", 1000},
                                 {"Set/disc10/01.mp3", 1000}, {"Set/CD1 extras/01.mp3", 1000},
                                 {"Mixed/1.mp3", 1000, {{MetadataKeys::album, "One"}}}, {"Mixed/2.mp3", 1000, {{MetadataKeys::album, "Two"}}},
                                 {"Mixed/3.mp3", 1000, {{MetadataKeys::album, "one"}}}, {"Mixed/4.mp3", 1000},
                                 {"Named/1.mp3", 1000, {{MetadataKeys::album, "Only"}}}, {"Named/2.mp3", 1000}}));
    ASSERT_TRUE(writeBytes(root + "/Named/cover.jpg", "not music"));
    QStringList found;
    for (const AlbumFiles &album : albumsIn({root})) {
        QStringList files = album.paths();
        files.replaceInStrings(root + u'/', QString());
        found.append(QDir(root).relativeFilePath(album.folder) + ": " + files.join(u' '));
    }
    EXPECT_EQ(found.join(u'\n').toStdString(), QStringList({"Mixed: Mixed/1.mp3 Mixed/3.mp3", "Mixed: Mixed/2.mp3", "Mixed: Mixed/4.mp3",
                                  "Named: Named/1.mp3 Named/2.mp3",
                                  "Set: Set/CD 2/01.mp3 Set/CD1/01.mp3 Set/Disc 3/01.mp3 Set/disc10/01.mp3",
                                  "Set/CD1 extras: Set/CD1 extras/01.mp3"}).join(u'\n').toStdString());
}

TEST(AlbumClues, ComeFromTagsElseTheFolderElseTheFileNames)
{
    struct Case {
        const char *folder;
        QList<FileToMake> files;
        QString album, artist;
        int year;
        QStringList searches;
    };
    const QVariantMap tagged{{MetadataKeys::album, "Blue \"Hour\""}, {MetadataKeys::albumArtist, "A\\B"}, {MetadataKeys::year, "1999"}};
    const QList<Case> cases{
        {"Someone - Folder Album (2001)", {{"1.mp3", 1000, tagged}, {"2.mp3", 1000, tagged}}, "Blue \"Hour\"", "A\\B", 1999,
         {R"(release:"Blue \"Hour\"" AND artist:"A\\B" tracks:2)", R"(release:"Folder Album" AND artist:"Someone" tracks:2)"}},
        {"Some_One - Folder Album [2001]", {{"1.mp3", 1000}}, "Folder Album", "Some One", 2001,
         {R"(release:"Folder Album" AND artist:"Some One" tracks:1)"}},
        {"The Artist/The Album", {{"01 Kestrel Road - Intro.mp3", 1000}, {"02 Kestrel Road - Rain.mp3", 1000},
                                  {"03 kestrel road (live).mp3", 1000}}, "The Album", "The Artist", 0,
         {R"(release:"The Album" AND artist:"The Artist" tracks:3)", "Kestrel Road tracks:3"}},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(makeFiles(dir.filePath(c.folder), c.files));
        const QList<AlbumFiles> albums = albumsIn({dir.path()});
        ASSERT_EQ(albums.size(), 1);
        const AlbumClues clues = AlbumClues::of(albums.first());
        EXPECT_EQ(clues.album, c.album) << c.folder;
        EXPECT_EQ(clues.artist, c.artist) << c.folder;
        EXPECT_EQ(clues.year, c.year) << c.folder;
        QStringList searches;
        for (const AlbumClues::Query &query : clues.queries())
            searches.append(query.text);
        EXPECT_EQ(searches, c.searches) << c.folder;
    }
}

TEST(AlbumIdentifier, FindsTheReleaseAndPairsTheFilesOrRefusesConfidently)
{
    struct Case {
        const char *what;
        QString folder;            // below the test's folder
        QList<FileToMake> files;
        QString search;            // the query the sample search answers
        QString answer;            // which sample search answers it
        QString best;              // the release expected first; empty for no candidate
        bool confident;
        QList<int> trackOfFile;    // per file in natural order; empty: not checked
        int failures = 0;
    };
    const QStringList halvardTitles{"Polar Night", "Aurora Borealis", "Tromsø Harbour", "Snowfield Waltz",
                                    "Midnight Ferry", "The Long Blue Hour", "Ice on the Fjord", "Northern Lights"};
    // Tagged files under names that say nothing, in an order that says nothing either.
    const QList<int> shuffled{5, 2, 7, 0, 3, 6, 1, 4};
    QList<FileToMake> tagged;
    for (qsizetype i = 0; i < shuffled.size(); ++i) {
        const int track = shuffled[i];
        tagged.append({QStringLiteral("take %1.mp3").arg(QChar(char16_t(u'a' + i))), 500,
                       tagsOf("Northern Lights", "The Halvard Quartet", halvardTitles[track], track + 1)});
    }
    QList<FileToMake> twoDiscs = numberedFiles(liveAtHarbourHallLengths().mid(0, 6));
    for (const FileToMake &file : numberedFiles(liveAtHarbourHallLengths().mid(6)))
        twoDiscs.append({"CD2/" + file.name, file.lengthMs});
    for (qsizetype i = 0; i < 6; ++i)
        twoDiscs[i].name.prepend("CD1/");

    const QList<Case> cases{
        {"untagged files of the right lengths in an Artist - Album folder", "Kestrel Road - Gravel and Rain",
         numberedFiles(gravelAndRainLengths()), R"(release:"Gravel and Rain" AND artist:"Kestrel Road" tracks:7)",
         "Kestrel Road", gravelAndRain, true, {0, 1, 2, 3, 4, 5, 6}},
        {"tagged files with shuffled names in a meaningless folder, one look-up failing", "incoming/batch 7", tagged,
         R"(release:"Northern Lights" AND artist:"The Halvard Quartet" tracks:8)", "Northern Lights", northernLights,
         true, shuffled, 1},
        {"a set of two discs in CD1 and CD2", "Mira Okafor/Live at Harbour Hall", twoDiscs,
         R"(release:"Live at Harbour Hall" AND artist:"Mira Okafor" tracks:11)", "Northern Lights", liveAtHarbourHall,
         true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1},
        {"nothing to go on", "misc/0001", {{"a.mp3", 61000}, {"b.mp3", 95000}, {"c.mp3", 17000}},
         R"(release:"0001" AND artist:"misc" tracks:3)", "", "", false, {}},
        {"files that fit no release found", "Kestrel Road - Gravel and Rain", {{"x.mp3", 30000}, {"y.mp3", 31000}, {"z.mp3", 32000}},
         R"(release:"Gravel and Rain" AND artist:"Kestrel Road" tracks:3)", "Kestrel Road", gravelAndRain, false, {}},
    };
    TemporaryCatalogue catalogue;
    addReleases(catalogue);
    for (const Case &c : cases) {
        if (!c.answer.isEmpty())
            catalogue.addFile("musicbrainz/search/" + c.search + ".xml", searchAnswer(c.answer));
    }
    catalogue.addFile("musicbrainz/release/" + songsUnderLights + ".fault", "status 500");
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    TestPacer paced;
    MusicBrainzSearch search(service.config(), {}, std::chrono::milliseconds(0), &paced.pacer);
    AlbumIdentifier identifier(search);

    for (const Case &c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(makeFiles(dir.filePath(c.folder), c.files)) << c.what;
        const QList<AlbumFiles> albums = albumsIn({dir.path()});
        ASSERT_EQ(albums.size(), 1) << c.what;
        EXPECT_EQ(albums.first().folder, dir.filePath(c.folder)) << c.what;
        JobControl control;
        const Identification found = identifier.identify(albums.first(), control);
        EXPECT_EQ(found.failures.size(), c.failures) << c.what << ": " << found.failures.join(u'\n').toStdString();
        // A failing look-up says which release and why.
        for (const QString &failure : found.failures)
            EXPECT_TRUE(failure.contains(songsUnderLights) && failure.contains("HTTP status 500")) << failure.toStdString();
        if (c.best.isEmpty()) {
            EXPECT_TRUE(found.candidates.isEmpty()) << c.what;
            continue;
        }
        ASSERT_FALSE(found.candidates.isEmpty()) << c.what;
        const Candidate &best = found.candidates.first();
        EXPECT_EQ(best.album->id(), c.best) << c.what;
        EXPECT_EQ(found.confident(0.8) != nullptr, c.confident) << c.what << ": " << best.score;
        // Every other release scores below a confident match.
        for (const Candidate &other : found.candidates.mid(1))
            EXPECT_LT(other.score, 0.8) << c.what << ": " << other.album->albumName()->toStdString();
        for (qsizetype f = 0; f < c.trackOfFile.size(); ++f)
            EXPECT_EQ(best.lineup.fileOfTrack.indexOf(int(f)), c.trackOfFile[f]) << c.what << ", file " << f;
        EXPECT_TRUE(best.album->cover() || !c.confident) << c.what;
    }
}
