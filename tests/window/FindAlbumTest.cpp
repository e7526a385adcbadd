// Find album against the local catalogue service's MusicBrainz answers: the releases that may
// be the files' album are listed with their scores, the best is chosen and the files lined up
// with it, ready to tag; a folder with nothing to go on changes nothing.
#include "WindowTest.h"

#include "files/FileHandler.h"
#include "support/LocalCatalogue.h"
#include "support/SampleReleases.h"

#include <QAccessible>

using namespace SampleReleases;

TEST_F(WindowTest, FindAlbumListsTheScoredReleasesChoosesTheBestAndLinesTheFilesUp)
{
    TemporaryCatalogue catalogue;
    addReleases(catalogue);
    catalogue.addFile(R"(musicbrainz/search/release:"Gravel and Rain" AND artist:"Kestrel Road" tracks:6.xml)",
                      searchAnswer("Kestrel Road"));
    LocalCatalogue service(catalogue.path());
    ASSERT_TRUE(service.isRunning());
    session().setServiceConfig(service.config());

    // Six of the seven tracks, the third one missing.
    QList<FileToMake> files = numberedFiles(gravelAndRainLengths());
    files.removeAt(2);
    const QString folder = filePath("Kestrel Road - Gravel and Rain");
    ASSERT_TRUE(makeFiles(folder, files));
    listFiles({folder});
    takeStatusLines();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button("findAlbumButton"))->text(QAccessible::Name), "Find album");
    click("findAlbumButton");
    const QStringList lines = takeStatusLines();
    EXPECT_EQ(lines.first(), "Finding the album of 6 files on MusicBrainz...");
    EXPECT_EQ(lines.last(), "Found Gravel and Rain by Kestrel Road, score 0.89. Lined up 6 of 6 files. Check them, then tag.");
    // The candidates, best first, with their scores; the best one is chosen and shown.
    QAbstractItemModel *albums = view(TableOutlet::resultTableView)->model();
    const int score = albums->columnCount() - 1;
    EXPECT_EQ(albums->headerData(score, Qt::Horizontal).toString(), "Score");
    EXPECT_EQ(column(TableOutlet::resultTableView, 1), QStringList({"Gravel and Rain", "Northern Lights and Other Stories"}));
    const QStringList scores = column(TableOutlet::resultTableView, score);
    EXPECT_GE(scores[0].toDouble(), 0.8);
    EXPECT_LT(scores[1].toDouble(), 0.8);
    EXPECT_EQ(window().selectedRow(TableOutlet::resultTableView), 0);
    EXPECT_EQ(session().shownAlbum()->id(), gravelAndRain);
    EXPECT_EQ(column(TableOutlet::fileListView, 0), QStringList({"01.mp3", "02.mp3", "", "04.mp3", "05.mp3", "06.mp3", "07.mp3"}));

    // Tagging writes each file with the track beside it.
    click("tagButton");
    const std::optional<TagValues> fourth = FileHandler().readTags(folder + "/04.mp3");
    ASSERT_TRUE(fourth);
    EXPECT_EQ(fourth->title, "Backroad Lullaby");
    EXPECT_EQ(fourth->trackNumber, 4);

    // Files with nothing to go on: no release found, the albums listed stay.
    click("clearFilesButton");
    ASSERT_TRUE(makeFiles(filePath("misc/0001"), {{"a.mp3", 61000}, {"b.mp3", 95000}}));
    listFiles({filePath("misc/0001")});
    takeStatusLines();
    click("findAlbumButton");
    EXPECT_EQ(takeStatusLines().last(), "No release found for the files on MusicBrainz; search by keywords instead.");
    EXPECT_EQ(session().rowCount(Session::List::albums), 2);
}
