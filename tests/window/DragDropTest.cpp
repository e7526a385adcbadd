#include "WindowTest.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>

// Rows dragged inside a window, as its tables' models write them.
static std::unique_ptr<QMimeData> rowDrag(MainController &controller, TableOutlet table, const QList<int> &rows)
{
    return std::unique_ptr<QMimeData>(controller.model(table)->rowsData(rows));
}

TEST_F(WindowTest, DropsListMp3FilesSortedAndRowMovesLandWhereTheUserSawThem)
{
    // Files are told by their content, whatever the letter case of their names; what is no
    // audio file is left out, given by its name or found in a folder under an audio name, as
    // the status line says once.
    QDir().mkpath(filePath("album/sub"));
    for (const char *name : {"album/a.mp3", "album/b.MP3", "album/sub/d.mp3"})
        ASSERT_TRUE(Mp3Fixtures::writeMp3(filePath(name)));
    for (const char *name : {"album/c.txt", "album/notes.mp3", "album/empty.MP3"}) {
        QFile text(filePath(name));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write(QByteArray(name).contains("empty") ? "" : "not audio at all\n");
    }
    takeStatusLines();
    listFiles({filePath("album"), filePath("0 loose.mp3"), filePath("album/c.txt")});
    EXPECT_EQ(*session().files(), QStringList({filePath("0 loose.mp3"), filePath("album/a.mp3"), filePath("album/b.MP3"),
                                               filePath("album/sub/d.mp3")}));
    EXPECT_EQ(takeStatusLines().filter("left out"),
              QStringList({"3 files are not audio files Tagwright can tag and were left out: c.txt, empty.MP3, notes.mp3."}));
    // The next drop sorts rows moved by hand again and keeps duplicates.
    const QString a = filePath("a.mp3"), b = filePath("b.mp3"), c = filePath("c.mp3"), d = filePath("d.mp3");
    controller().clearFiles();
    listFiles({c, a, b, d});
    ASSERT_TRUE(drop(TableOutlet::fileListView, rowDrag(controller(), TableOutlet::fileListView, {0, 2}).get(), 4));
    EXPECT_EQ(*session().files(), QStringList({b, d, a, c}));
    listFiles({b});
    EXPECT_EQ(*session().files(), QStringList({a, b, b, c, d}));
    // Dropped on the view, files are taken as a copy, so the file manager never deletes them.
    controller().clearFiles();
    QWidget *viewport = view(TableOutlet::fileListView)->viewport();
    const auto data = fileDrag({a});
    QDragEnterEvent enter(viewport->rect().center(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QDropEvent dropped(viewport->rect().center(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::ShiftModifier);
    dropped.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(viewport, &enter);
    QCoreApplication::sendEvent(viewport, &dropped);
    session().waitForJob();
    EXPECT_EQ(*session().files(), QStringList({a}));
    EXPECT_EQ(dropped.dropAction(), Qt::CopyAction);

    // Beside three tracks, a file dragged onto a free slot takes that track, and leaves a
    // free slot in its own track's row.
    session().waitForJob();
    controller().clearFiles();
    addAlbums({"Three"});
    for (const char *title : {"1", "2", "3"})
        session().addTrack(QString::fromLatin1(title), std::nullopt);
    listFiles({a, b});
    EXPECT_EQ(*session().files(), QStringList({a, b, ""}));
    ASSERT_TRUE(drop(TableOutlet::fileListView, rowDrag(controller(), TableOutlet::fileListView, {0}).get(), 2, true));
    EXPECT_EQ(*session().files(), QStringList({"", b, a}));
    EXPECT_TRUE(model(TableOutlet::fileListView)->flags(model(TableOutlet::fileListView)->index(0, 0)) & Qt::ItemIsDropEnabled);
}

TEST_F(WindowTest, DragsAreRefusedOutsideTheirOwnTableAndList)
{
    listFiles({filePath("a.mp3"), filePath("b.mp3"), filePath("c.mp3")});
    session().addTrack("One", "");
    const QStringList files = *session().files();
    MainWindow other;
    other.dropFiles({filePath("z.mp3")});
    // Files only go to the file table, rows only within their own table, list and window.
    const std::tuple<TableOutlet, std::unique_ptr<QMimeData>, int> refused[] = {
        {TableOutlet::trackListView, fileDrag({filePath("d.mp3")}), 0},
        {TableOutlet::resultTableView, fileDrag({filePath("d.mp3")}), 0},
        {TableOutlet::trackListView, rowDrag(controller(), TableOutlet::fileListView, {0}), 0},
        {TableOutlet::fileListView, rowDrag(controller(), TableOutlet::trackListView, {0}), 0},
        {TableOutlet::fileListView, rowDrag(controller(), TableOutlet::fileListView, {1, 3}), 0},
        {TableOutlet::fileListView, rowDrag(controller(), TableOutlet::fileListView, {0}), 5},
        {TableOutlet::fileListView, rowDrag(other.controller(), TableOutlet::fileListView, {0}), 0}};
    for (const auto &[table, data, row] : refused)
        EXPECT_FALSE(drop(table, data.get(), row)) << int(table) << row;
    EXPECT_EQ(*session().files(), files);
    EXPECT_EQ(column(TableOutlet::trackListView, 1), QStringList({"One"}));
}

TEST_F(WindowTest, TrackDragsAndFileUrlsListLocalFilesOnly)
{
    const auto trackDrag = [](const QStringList &locations) {
        // The document type names a remote DTD, which the reader must never fetch.
        QByteArray xml = "<?xml version=\"1.0\"?><!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\"><plist><dict><key>Tracks</key><dict>";
        for (const QString &location : locations)
            xml += "<key>" + QByteArray::number(xml.size()) + "</key><dict><key>Location</key><string>" + location.toHtmlEscaped().toUtf8() + "</string></dict>";
        auto data = std::make_unique<QMimeData>();
        data->setData(TableDragData::trackDragType, xml + "</dict></dict></plist>");
        return data;
    };
    // Players name the local host, or none; a file URL of another host is a network share.
    const QString local = filePath("My Music/Song.mp3");
    ASSERT_TRUE(QDir().mkpath(filePath("My Music")) && Mp3Fixtures::writeMp3(local));
    const QString path = QUrl::fromLocalFile(local).path(QUrl::FullyEncoded);
    const QStringList locations = {"file://" + path, "file://localhost" + path, "http://example.org/stream.mp3",
                                   "file://server/share/song.mp3", QUrl::fromLocalFile(filePath("x.ogg")).toString()};
    QMimeData uriList, deep, broken;
    uriList.setData(TableDragData::fileNamesDragType, locations.join("\r\n").toUtf8());
    // Data that is no track list, or nested deep enough to exhaust a recursive reader.
    deep.setData(TableDragData::trackDragType, "<plist><dict><key>Tracks</key>" + QByteArray("<array>").repeated(100000));
    broken.setData(TableDragData::trackDragType, "<plist><dict><key>Tracks</key><dict><key>1</key><dict>");
    const auto tracks = trackDrag(locations);
    for (const QMimeData *data : {&uriList, tracks.get(), &deep, &broken}) {
        controller().clearFiles();
        EXPECT_EQ(model(TableOutlet::fileListView)->dropActionFor(data), Qt::CopyAction);
        ASSERT_TRUE(drop(TableOutlet::fileListView, data, 0));
        session().waitForJob();
        EXPECT_EQ(*session().files(), data == &deep || data == &broken ? QStringList() : QStringList({local, local}));
    }
}
