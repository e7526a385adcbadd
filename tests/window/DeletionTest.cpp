#include "WindowTest.h"

TEST_F(WindowTest, DeleteKeysRemoveTheSelectedRowsOfTheFocusedTable)
{
    const QString a = filePath("a.mp3"), b = filePath("b.mp3"), c = filePath("c.mp3");
    listFiles({a, b, c});
    for (const char *title : {"One", "Two", "Three"})
        controller().generateNewTrackItem(QString::fromLatin1(title), "");
    controller().generateNewAlbumEntryForArtist("X", "First", "", "", "", "", "");
    controller().generateNewAlbumEntryForArtist("Y", "Second", "", "", "", "", "");

    // Without a selection nothing goes, with either key.
    for (TableOutlet table : {TableOutlet::fileListView, TableOutlet::trackListView, TableOutlet::resultTableView}) {
        view(table)->setFocus();
        pressKey(view(table), Qt::Key_Delete);
        pressKey(view(table), Qt::Key_Backspace, "\b");
    }
    EXPECT_EQ(controller().songs()->size(), 3);
    EXPECT_EQ(controller().trackItems()->size(), 3);
    EXPECT_EQ(controller().resultList()->size(), 2);

    // Nor with the focus in a text field, or anywhere else outside the tables.
    selectRows(TableOutlet::fileListView, {2});
    field("keywords")->setText("abc");
    field("keywords")->setFocus();
    pressKey(field("keywords"), Qt::Key_Backspace, "\b");
    controller().keyDown(Qt::Key_Delete);
    EXPECT_EQ(controller().songs()->size(), 3);

    view(TableOutlet::fileListView)->setFocus();
    selectRows(TableOutlet::fileListView, {2});
    pressKey(view(TableOutlet::fileListView), Qt::Key_Escape);
    EXPECT_EQ(controller().songs()->size(), 3);
    selectRows(TableOutlet::fileListView, {0, 2});
    pressKey(view(TableOutlet::fileListView), Qt::Key_Delete);
    EXPECT_EQ(*controller().songs(), QStringList({b}));
    EXPECT_TRUE(window().selectedRows(TableOutlet::fileListView).isEmpty());

    view(TableOutlet::trackListView)->setFocus();
    selectRows(TableOutlet::trackListView, {1});
    pressKey(view(TableOutlet::trackListView), Qt::Key_Backspace, "\b");
    EXPECT_EQ(column(TableOutlet::trackListView, 1), QStringList({"One", "Three"}));
    EXPECT_EQ(column(TableOutlet::trackListView, 0), QStringList({"1", "2"}));

    view(TableOutlet::resultTableView)->setFocus();
    selectRows(TableOutlet::resultTableView, {0, 1});
    pressKey(view(TableOutlet::resultTableView), Qt::Key_Delete);
    EXPECT_TRUE(controller().resultList()->isEmpty());
}

TEST_F(WindowTest, DeletingTracksOfTheChosenAlbumChangesItsOwnList)
{
    controller().generateNewAlbumEntryForArtist("X", "First", "", "", "", "2", "");
    controller().generateNewAlbumEntryForArtist("Y", "Second", "", "", "", "", "");
    auto tracks = std::make_shared<TrackList>();
    tracks->append(std::make_shared<Track>());
    tracks->append(std::make_shared<Track>());
    controller().resultList()->at(0)->setTrackList(tracks);
    window().selectRow(TableOutlet::resultTableView, 0);

    view(TableOutlet::trackListView)->setFocus();
    selectRows(TableOutlet::trackListView, {0});
    pressKey(view(TableOutlet::trackListView), Qt::Key_Delete);
    EXPECT_EQ(controller().resultList()->at(0)->trackList()->size(), 1);
    EXPECT_EQ(controller().resultList()->at(0)->numberOfTracks(), 2);

    // Deleting the chosen album shows the tracks of the one tagging would then write.
    view(TableOutlet::resultTableView)->setFocus();
    pressKey(view(TableOutlet::resultTableView), Qt::Key_Delete);
    EXPECT_EQ(column(TableOutlet::resultTableView, 1), QStringList({"Second"}));
    EXPECT_FALSE(controller().trackItems());
}
