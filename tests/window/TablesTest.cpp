#include "WindowTest.h"

TEST_F(WindowTest, TheTracksAndCoverOnShowAreThoseOfTheAlbumTaggingWrites)
{
    addAlbums({"A", "B", "C"});
    const ResultList &albums = *session().albums();
    albums.at(0)->setTrackList(trackList({"a1", "a2"}));
    albums.at(0)->setCover(filled(Qt::red));
    albums.at(1)->setTrackList(trackList({"b1"}));
    albums.at(2)->setCover(filled(Qt::blue));
    // Whether the album's own tracks and cover, or none, are on show.
    const auto shows = [&](int row) {
        const ResultEntry &album = *session().albums()->at(row);
        return session().tracks() == album.trackList() && cover()->image().has_value() == album.cover().has_value()
            && (!cover()->image() || cover()->image()->pixelColor(0, 0) == album.cover()->pixelColor(0, 0));
    };
    for (int row : {0, 1, 2, 0}) {
        window().selectRow(TableOutlet::resultTableView, row);
        EXPECT_TRUE(shows(row)) << row;
    }
    // With none chosen, tagging writes the first album: adding one by hand, clearing the
    // choice or deleting the chosen album shows the first one's.
    window().selectRow(TableOutlet::resultTableView, 1);
    click("addAlbumButton");
    EXPECT_TRUE(shows(0));
    window().selectRow(TableOutlet::resultTableView, 2);
    view(TableOutlet::resultTableView)->clearSelection();
    EXPECT_TRUE(shows(0));
    window().selectRow(TableOutlet::resultTableView, 1);
    view(TableOutlet::resultTableView)->setFocus();
    pressKey(view(TableOutlet::resultTableView), Qt::Key_Delete);
    EXPECT_EQ(column(TableOutlet::resultTableView, 1), QStringList({"A", "C", ""}));
    EXPECT_TRUE(shows(0));
    // A track typed for a chosen album without tracks starts that album's own list.
    window().selectRow(TableOutlet::resultTableView, 2);
    session().addTrack("Typed", "");
    EXPECT_TRUE(shows(2));
    // The only album keeps tracks typed by hand on show, yet shows its own in an empty table.
    for (bool typed : {true, false}) {
        session().clearAll();
        addAlbums({"Only"});
        if (typed)
            session().addTrack("Typed", "By Hand");
        session().albums()->at(0)->setTrackList(trackList({"x"}));
        window().selectRow(TableOutlet::resultTableView, 0);
        EXPECT_EQ(shows(0), !typed);
    }
}

TEST_F(WindowTest, EditsReachTheirFieldsAndDeleteKeysRemoveTheSelectedRowsOfTheFocusedTableOnly)
{
    listFiles({filePath("a.mp3"), filePath("b.mp3"), filePath("c.mp3")});
    addAlbums({"X", "Y"});
    session().albums()->at(0)->setTrackList(trackList({"One", "Two", "Three"}));
    window().selectRow(TableOutlet::resultTableView, 0);
    QTableView *albums = view(TableOutlet::resultTableView), *tracks = view(TableOutlet::trackListView),
               *files = view(TableOutlet::fileListView);
    albums->model()->setData(albums->model()->index(0, 2), "7 dwarfs", Qt::EditRole);
    tracks->model()->setData(tracks->model()->index(2, 1), "Trois", Qt::EditRole);
    tracks->model()->setData(tracks->model()->index(2, 2), "Guest", Qt::EditRole);
    EXPECT_EQ(session().albums()->at(0)->numberOfTracks(), 7);
    EXPECT_EQ(session().albums()->at(0)->trackList()->at(2)->artist(), "Guest");
    // Track numbers are positions and file names are files: neither takes an edit.
    EXPECT_FALSE(tracks->model()->flags(tracks->model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(files->model()->flags(files->model()->index(0, 0)) & Qt::ItemIsEditable);

    // Nothing goes without a selection, or with the focus outside the tables.
    files->setFocus();
    pressKey(files, Qt::Key_Delete);
    files->selectRow(1);
    field("keywords")->setFocus();
    pressKey(field("keywords"), Qt::Key_Backspace, "\b");
    EXPECT_EQ(session().files()->size(), 3);
    files->setFocus();
    pressKey(files, Qt::Key_Escape);
    pressKey(files, Qt::Key_Delete);
    // A file beside a track leaves its row free, so no other file moves onto that track.
    EXPECT_EQ(*session().files(), QStringList({filePath("a.mp3"), "", filePath("c.mp3")}));
    // Tracks go from the chosen album's own list, and are numbered anew; its track count stays.
    tracks->setFocus();
    tracks->selectRow(1);
    pressKey(tracks, Qt::Key_Backspace, "\b");
    EXPECT_EQ(column(TableOutlet::trackListView, 0) + column(TableOutlet::trackListView, 1),
              QStringList({"1", "2", "One", "Trois"}));
    EXPECT_EQ(session().albums()->at(0)->trackList()->size(), 2);
    albums->setFocus();
    albums->selectAll();
    pressKey(albums, Qt::Key_Delete);
    EXPECT_TRUE(session().albums()->isEmpty());
}
