#include "WindowTest.h"

#include "support/LogCapture.h"
#include "window/TrackTableModel.h"

TEST_F(WindowTest, AlbumCellsShowAndTakeEditsByFieldName)
{
    controller().generateNewAlbumEntryForArtist("Artist", "Album", "1999", "Jazz", "Blue", "12", "2");
    QAbstractItemModel *albums = view(TableOutlet::resultTableView)->model();
    EXPECT_EQ(column(TableOutlet::resultTableView, 0), QStringList({"Artist"}));
    EXPECT_EQ(column(TableOutlet::resultTableView, 2), QStringList({"12"}));
    EXPECT_EQ(column(TableOutlet::resultTableView, 6), QStringList({"2"}));

    EXPECT_TRUE(albums->setData(albums->index(0, 2), "7 dwarfs", Qt::EditRole));
    EXPECT_EQ(controller().resultList()->at(0)->numberOfTracks(), 7);
    albums->setData(albums->index(0, 2), "none", Qt::EditRole);
    EXPECT_EQ(controller().resultList()->at(0)->numberOfTracks(), 0);
    albums->setData(albums->index(0, 1), "Other Album", Qt::EditRole);
    EXPECT_EQ(controller().resultList()->at(0)->albumName(), "Other Album");

    // An identifier outside the seven shows nothing, and an edit for it changes nothing.
    EXPECT_EQ(controller().objectValueForTableColumn(TableOutlet::resultTableView, "asinNumber", 0), std::nullopt);
    controller().setObjectValue(TableOutlet::resultTableView, "B000TEST", "asinNumber", 0);
    controller().setObjectValue(TableOutlet::resultTableView, "x", "cover", 0);
    EXPECT_EQ(controller().resultList()->at(0)->asinNumber(), std::nullopt);
    EXPECT_FALSE(controller().resultList()->at(0)->cover());
}

TEST_F(WindowTest, TrackEditsReachTheAlbumAndTheNumberColumnTakesNone)
{
    controller().generateNewAlbumEntryForArtist("Artist", "Album", "1999", "Jazz", "Blue", "3", "1");
    controller().generateNewAlbumEntryForArtist("Other", "Other", "", "", "", "", "");
    const TrackListPtr tracks = trackList({"One", "Two", "Three"});
    controller().resultList()->at(0)->setTrackList(tracks);
    window().selectRow(TableOutlet::resultTableView, 0);
    ASSERT_EQ(controller().trackItems(), tracks);
    EXPECT_EQ(column(TableOutlet::trackListView, 0), QStringList({"1", "2", "3"}));

    QAbstractItemModel *model = view(TableOutlet::trackListView)->model();
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
    model->setData(model->index(1, 1), "Second", Qt::EditRole);
    model->setData(model->index(1, 2), "Guest", Qt::EditRole);
    EXPECT_EQ(tracks->at(1)->title(), "Second");
    EXPECT_EQ(tracks->at(1)->artist(), "Guest");

    // An edit arriving for the number column, or for no column at all, is not an artist.
    controller().setObjectValue(TableOutlet::trackListView, "5", TrackTableModel::numberColumn, 0);
    controller().setObjectValue(TableOutlet::trackListView, "x", "Composer", 0);
    EXPECT_EQ(tracks->at(0)->artist(), "Performer");
    EXPECT_EQ(tracks->at(0)->title(), "One");
}

TEST_F(WindowTest, FileCellsShowTheNameTakeNoEditsAndACellOutsideItsListLogsOneLine)
{
    listFiles({"/a/b.mp3"});
    QAbstractItemModel *files = view(TableOutlet::fileListView)->model();
    EXPECT_EQ(column(TableOutlet::fileListView, 0), QStringList({"b.mp3"}));
    EXPECT_EQ(controller().objectValueForTableColumn(TableOutlet::fileListView, "anything", 0), "b.mp3");
    EXPECT_FALSE(files->flags(files->index(0, 0)) & Qt::ItemIsEditable);
    controller().setObjectValue(TableOutlet::fileListView, "c.mp3", "File", 0);
    EXPECT_EQ(*controller().songs(), QStringList({"/a/b.mp3"}));

    const LogCapture log;
    const auto beyond = controller().objectValueForTableColumn(TableOutlet::fileListView, "File", 5);
    const auto noList = controller().objectValueForTableColumn(TableOutlet::trackListView, "Title", 0);
    const QStringList capturedWarnings = log.lines();

    EXPECT_EQ(beyond, std::nullopt);
    EXPECT_EQ(noList, std::nullopt);
    ASSERT_EQ(capturedWarnings.size(), 2);
    EXPECT_EQ(capturedWarnings.at(0),
              "MainController:tableView:objectValueForTableColumn:row: Caught std::out_of_range: "
              "row 5 outside a list of 1 entries");
    EXPECT_TRUE(capturedWarnings.at(1).startsWith("MainController:tableView:objectValueForTableColumn:row: Caught "));
}

TEST_F(WindowTest, ChoosingAnAlbumBindsItsTracksAndCoverUnlessItIsTheOnlyOne)
{
    controller().generateNewAlbumEntryForArtist("First", "A", "", "", "", "", "");
    controller().generateNewAlbumEntryForArtist("Second", "B", "", "", "", "", "");
    controller().generateNewAlbumEntryForArtist("Third", "C", "", "", "", "", "");
    const ResultList &albums = *controller().resultList();
    albums.at(0)->setTrackList(trackList({"a1", "a2"}));
    albums.at(0)->setCover(filled(Qt::red));
    albums.at(1)->setTrackList(trackList({"b1"}));
    albums.at(2)->setCover(filled(Qt::blue));

    window().selectRow(TableOutlet::resultTableView, 0);
    EXPECT_EQ(column(TableOutlet::trackListView, 1), QStringList({"a1", "a2"}));
    EXPECT_EQ(cover()->image()->pixelColor(0, 0), QColor(Qt::red));

    // An album without a cover clears the view rather than leave the previous album's.
    window().selectRow(TableOutlet::resultTableView, 1);
    EXPECT_EQ(controller().trackItems(), albums.at(1)->trackList());
    EXPECT_FALSE(cover()->image());

    // An album without tracks unbinds the list and shows its own cover.
    window().selectRow(TableOutlet::resultTableView, 2);
    EXPECT_FALSE(controller().trackItems());
    EXPECT_EQ(cover()->image()->pixelColor(0, 0), QColor(Qt::blue));

    // Every refresh leaves the table without a selection.
    controller().refreshTableView(TableOutlet::resultTableView);
    EXPECT_EQ(window().selectedRow(TableOutlet::resultTableView), -1);

    // A single album keeps tracks typed by hand on show.
    controller().clearTableViewsAndDataSources();
    controller().generateNewAlbumEntryForArtist("Only", "Album", "", "", "", "", "");
    controller().generateNewTrackItem("Typed", "By Hand");
    const TrackListPtr typed = controller().trackItems();
    controller().resultList()->at(0)->setTrackList(trackList({"x"}));

    window().selectRow(TableOutlet::resultTableView, 0);
    EXPECT_EQ(controller().trackItems(), typed);

    // With the track table empty, choosing the one album shows its tracks.
    controller().clearTableViewsAndDataSources();
    controller().generateNewAlbumEntryForArtist("Only", "Album", "", "", "", "", "");
    const TrackListPtr own = trackList({"y", "z"});
    controller().resultList()->at(0)->setTrackList(own);
    window().selectRow(TableOutlet::resultTableView, 0);
    EXPECT_EQ(controller().trackItems(), own);
}

TEST_F(WindowTest, WithNoAlbumChosenTheFirstAlbumsTracksAndCoverAreOnShow)
{
    // Tagging writes the first album when none is chosen, with the tracks and cover on show.
    controller().generateNewAlbumEntryForArtist("First", "A", "", "", "", "", "");
    controller().generateNewAlbumEntryForArtist("Second", "B", "", "", "", "", "");
    const ResultList &albums = *controller().resultList();
    albums.at(0)->setTrackList(trackList({"a1"}));
    albums.at(0)->setCover(filled(Qt::red));
    albums.at(1)->setTrackList(trackList({"b1", "b2"}));
    albums.at(1)->setCover(filled(Qt::blue));
    const auto expectFirstOnShow = [&](const char *after) {
        EXPECT_EQ(window().selectedRow(TableOutlet::resultTableView), -1) << after;
        EXPECT_EQ(controller().trackItems(), albums.at(0)->trackList()) << after;
        ASSERT_TRUE(cover()->image()) << after;
        EXPECT_EQ(cover()->image()->pixelColor(0, 0), QColor(Qt::red)) << after;
    };

    window().selectRow(TableOutlet::resultTableView, 1);
    button("addAlbumButton")->click();
    expectFirstOnShow("adding an album by hand");

    window().selectRow(TableOutlet::resultTableView, 1);
    view(TableOutlet::resultTableView)->clearSelection();
    expectFirstOnShow("clearing the selection");

    // Deleting the chosen album, and then every album, leaves nothing of theirs on show.
    window().selectRow(TableOutlet::resultTableView, 1);
    view(TableOutlet::resultTableView)->setFocus();
    pressKey(view(TableOutlet::resultTableView), Qt::Key_Delete);
    expectFirstOnShow("deleting the chosen album");
    selectRows(TableOutlet::resultTableView, {0, 1});
    pressKey(view(TableOutlet::resultTableView), Qt::Key_Delete);
    EXPECT_FALSE(controller().trackItems());
    EXPECT_FALSE(cover()->image());

    // A track typed for an album without tracks joins that album's own list.
    controller().generateNewAlbumEntryForArtist("Third", "C", "", "", "", "", "");
    controller().generateNewAlbumEntryForArtist("Fourth", "D", "", "", "", "", "");
    window().selectRow(TableOutlet::resultTableView, 1);
    controller().generateNewTrackItem("d1", "");
    EXPECT_EQ(controller().resultList()->at(1)->trackList(), controller().trackItems());
}
