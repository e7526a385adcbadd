#include "WindowTest.h"

#include <QApplication>
#include <QDropEvent>
#include <QUrl>

namespace {

bool drop(MainController &controller, TableOutlet table, const QMimeData &data, int row = 0)
{
    return controller.validateDrop(table, &data) != Qt::IgnoreAction && controller.acceptDrop(table, &data, row);
}

} // namespace

TEST_F(WindowTest, FileDropsAddMp3FilesOnlyKeepDuplicatesAndSortTheWholeList)
{
    const QString folder = filePath("album");
    makeFile("album/a.mp3");
    makeFile("album/b.MP3");
    makeFile("album/c.txt");
    makeFile("album/sub/d.mp3");
    const QString loose = makeFile("0 loose.mp3");

    const auto data = fileDrag({folder, loose, makeFile("notes.txt")});
    EXPECT_EQ(controller().validateDrop(TableOutlet::fileListView, data.get()), Qt::CopyAction);
    ASSERT_TRUE(controller().acceptDrop(TableOutlet::fileListView, data.get(), 0));
    EXPECT_EQ(*controller().songs(), QStringList({loose, folder + "/a.mp3"}));
    EXPECT_EQ(column(TableOutlet::fileListView, 0), QStringList({"0 loose.mp3", "a.mp3"}));
    // Untagged files give no album.
    EXPECT_FALSE(controller().resultList());

    // Further drops keep duplicates and sort rows arranged by hand again.
    controller().clearFiles();
    const QString a = filePath("a.mp3"), b = filePath("b.mp3"), c = filePath("c.mp3");
    listFiles({c, a, b});
    EXPECT_EQ(*controller().songs(), QStringList({a, b, c}));
    ASSERT_TRUE(drop(controller(), TableOutlet::fileListView, *rowDrag(TableOutlet::fileListView, {0}), 3));
    EXPECT_EQ(*controller().songs(), QStringList({b, c, a}));

    // A drop of nothing but other files adds nothing, yet sorts the list again.
    ASSERT_TRUE(drop(controller(), TableOutlet::fileListView, *fileDrag({filePath("cover.jpg")})));
    EXPECT_EQ(*controller().songs(), QStringList({a, b, c}));

    listFiles({b});
    EXPECT_EQ(*controller().songs(), QStringList({a, b, b, c}));
    // A path that does not exist but names an MP3 file is listed too.
    EXPECT_FALSE(QFile::exists(a));
}

TEST_F(WindowTest, RowMovesInsertAtTheRowSeenWhileDragging)
{
    const QString a = filePath("A.mp3"), b = filePath("B.mp3"), c = filePath("C.mp3"), d = filePath("D.mp3");
    listFiles({a, b, c, d});
    auto rows = rowDrag(TableOutlet::fileListView, {0, 2});
    EXPECT_EQ(controller().validateDrop(TableOutlet::fileListView, rows.get()), Qt::MoveAction);
    ASSERT_TRUE(controller().acceptDrop(TableOutlet::fileListView, rows.get(), 1));
    EXPECT_EQ(*controller().songs(), QStringList({a, c, b, d}));

    controller().clearFiles();
    listFiles({a, b, c, d});
    ASSERT_TRUE(drop(controller(), TableOutlet::fileListView, *rowDrag(TableOutlet::fileListView, {0, 2}), 4));
    EXPECT_EQ(*controller().songs(), QStringList({b, d, a, c}));

    // The same on the track table, which changes the tracks' numbers.
    for (const char *title : {"A", "B", "C", "D"})
        controller().generateNewTrackItem(QString::fromLatin1(title), "");
    ASSERT_TRUE(drop(controller(), TableOutlet::trackListView, *rowDrag(TableOutlet::trackListView, {0, 2}), 1));
    EXPECT_EQ(column(TableOutlet::trackListView, 1), QStringList({"A", "C", "B", "D"}));
    EXPECT_EQ(column(TableOutlet::trackListView, 0), QStringList({"1", "2", "3", "4"}));
    // A move neither sorts the files nor touches the album list.
    EXPECT_FALSE(controller().resultList());
}

TEST_F(WindowTest, DragsAreRefusedOutsideTheirOwnTableAndList)
{
    listFiles({filePath("a.mp3"), filePath("b.mp3"), filePath("c.mp3")});
    controller().generateNewTrackItem("One", "");
    controller().generateNewTrackItem("Two", "");
    controller().generateNewAlbumEntryForArtist("X", "Y", "", "", "", "", "");
    const QStringList files = *controller().songs();

    // Files and tracks go to the file table only.
    const auto fileData = fileDrag({filePath("d.mp3")});
    const auto trackData = trackDrag({QUrl::fromLocalFile(filePath("d.mp3")).toString()});
    for (TableOutlet table : {TableOutlet::trackListView, TableOutlet::resultTableView}) {
        EXPECT_EQ(controller().validateDrop(table, fileData.get()), Qt::IgnoreAction);
        EXPECT_EQ(controller().validateDrop(table, trackData.get()), Qt::IgnoreAction);
        EXPECT_FALSE(controller().acceptDrop(table, fileData.get(), 0));
        EXPECT_FALSE(controller().acceptDrop(table, trackData.get(), 0));
    }
    EXPECT_TRUE(view(TableOutlet::resultTableView)->model()->mimeTypes().isEmpty());

    // Rows of one table name nothing in another.
    const auto fromFiles = rowDrag(TableOutlet::fileListView, {0});
    const auto fromAlbums = rowDrag(TableOutlet::resultTableView, {0});
    EXPECT_EQ(controller().validateDrop(TableOutlet::trackListView, fromFiles.get()), Qt::IgnoreAction);
    EXPECT_FALSE(controller().acceptDrop(TableOutlet::trackListView, fromFiles.get(), 0));
    EXPECT_EQ(controller().validateDrop(TableOutlet::fileListView, fromAlbums.get()), Qt::IgnoreAction);
    EXPECT_FALSE(controller().acceptDrop(TableOutlet::fileListView, fromAlbums.get(), 0));
    const auto fromTracks = rowDrag(TableOutlet::trackListView, {1});
    EXPECT_FALSE(controller().acceptDrop(TableOutlet::fileListView, fromTracks.get(), 0));

    // Rows beyond the list, and an insertion point beyond it, are refused too.
    const auto beyond = rowDrag(TableOutlet::fileListView, {1, 3});
    EXPECT_EQ(controller().validateDrop(TableOutlet::fileListView, beyond.get()), Qt::IgnoreAction);
    EXPECT_FALSE(controller().acceptDrop(TableOutlet::fileListView, beyond.get(), 0));
    EXPECT_FALSE(controller().acceptDrop(TableOutlet::fileListView, fromFiles.get(), 4));

    // Rows dragged from another window's file table are not this window's rows.
    MainWindow other;
    other.dropFiles({filePath("z.mp3")});
    std::unique_ptr<QMimeData> foreign(other.controller().writeRowsWithIndexes(TableOutlet::fileListView, {0}));
    EXPECT_FALSE(controller().acceptDrop(TableOutlet::fileListView, foreign.get(), 0));

    EXPECT_EQ(*controller().songs(), files);
    EXPECT_EQ(column(TableOutlet::trackListView, 1), QStringList({"One", "Two"}));
}

TEST_F(WindowTest, DroppingOnTheFileViewListsTheFilesAsACopy)
{
    const QString song = makeFile("song.mp3");
    const auto data = fileDrag({song});
    QWidget *viewport = view(TableOutlet::fileListView)->viewport();
    const QPointF inside(viewport->width() / 2.0, viewport->height() / 2.0);
    QDragEnterEvent enter(inside.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(inside.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent dropped(inside, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::ShiftModifier);
    dropped.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(viewport, &dropped);

    EXPECT_EQ(controller().songs().value_or(QStringList()), QStringList({song}));
    // The file manager is told to copy, so it never deletes the dropped file.
    EXPECT_EQ(dropped.dropAction(), Qt::CopyAction);
}

TEST_F(WindowTest, TrackDragsAddTheirLocalFilesOnlyAndDataThatIsNoTrackListNothing)
{
    QByteArray nested = "<plist><dict><key>Tracks</key>";
    for (int level = 0; level < 100000; ++level)
        nested += "<array>";
    QMimeData deep;
    deep.setData(MainController::trackDragType, nested);
    QMimeData broken;
    broken.setData(MainController::trackDragType, "<plist><dict><key>Tracks</key><dict><key>1</key><dict>");
    for (QMimeData *data : {&deep, &broken})
        ASSERT_TRUE(controller().acceptDrop(TableOutlet::fileListView, data, 0));
    EXPECT_TRUE(controller().songs()->isEmpty());

    const QString local = makeFile("Music/Some Song.mp3");
    const auto data = trackDrag({QUrl::fromLocalFile(local).toString(), "http://example.org/stream.mp3",
                                 QUrl::fromLocalFile(filePath("x.ogg")).toString()});
    EXPECT_EQ(controller().validateDrop(TableOutlet::fileListView, data.get()), Qt::CopyAction);
    ASSERT_TRUE(controller().acceptDrop(TableOutlet::fileListView, data.get(), 0));
    EXPECT_EQ(*controller().songs(), QStringList({local}));

    // Players name the local host; a file URL of another host is no local file.
    const QString viaLocalhost = "file://localhost" + QUrl::fromLocalFile(local).path(QUrl::FullyEncoded);
    const QString elsewhere = "file://server/share/song.mp3";
    QMimeData uriList;
    uriList.setData(MainController::fileNamesDragType, (viaLocalhost + "\r\n" + elsewhere + "\r\n").toUtf8());
    const auto tracks = trackDrag({viaLocalhost, elsewhere});
    for (const QMimeData *drop : {&uriList, tracks.get()}) {
        controller().clearFiles();
        ASSERT_TRUE(controller().acceptDrop(TableOutlet::fileListView, drop, 0));
        EXPECT_EQ(*controller().songs(), QStringList({local}));
    }
}
