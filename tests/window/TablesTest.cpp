#include "WindowTest.h"

#include "files/MetadataKeys.h"
#include "window/FileTableModel.h"

#include <QAccessible>
#include <QAccessibleTableInterface>

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

TEST_F(WindowTest, AlbumsSortByAnyColumnTracksCountByDiscAndControlsAreNamedAsTheirLabelsRead)
{
    // Sorted, the album table still chooses and deletes the album the user sees.
    addAlbums({"B", "C", "A"});
    for (int row = 0; row < 3; ++row)
        session().albums()->at(row)->setNumberOfTracks(QList<int>({10, 9, 100}).at(row));
    QTableView *albums = view(TableOutlet::resultTableView);
    albums->sortByColumn(2, Qt::AscendingOrder);
    EXPECT_EQ(column(TableOutlet::resultTableView, 1), QStringList({"C", "B", "A"}));
    albums->sortByColumn(1, Qt::AscendingOrder);
    albums->selectRow(0);
    EXPECT_EQ(session().shownAlbum(), session().albums()->at(2));
    albums->setFocus();
    pressKey(albums, Qt::Key_Delete);
    EXPECT_EQ(column(TableOutlet::resultTableView, 1), QStringList({"B", "C"}));

    // Tracks are numbered on their disc, with their lengths.
    const TrackListPtr tracks = trackList({"a", "b", "c"});
    for (int row = 0; row < 3; ++row) {
        tracks->at(row)->setDiscNumber(row < 2 ? 1 : 2);
        tracks->at(row)->setLengthMs(61400 * (row + 1));
    }
    session().albums()->at(0)->setTrackList(tracks);
    window().selectRow(TableOutlet::resultTableView, 1);
    window().selectRow(TableOutlet::resultTableView, 0);
    EXPECT_EQ(column(TableOutlet::trackListView, 0) + column(TableOutlet::trackListView, 3),
              QStringList({"1", "2", "1", "1:01", "2:03", "3:04"}));

    // Tab leaves every table; every labelled control and every table is named as its label
    // reads, buttons by their text, and the tables expose their column headers.
    for (QTableView *table : window().findChildren<QTableView *>())
        EXPECT_FALSE(table->tabKeyNavigation()) << table->objectName().toStdString();
    const auto name = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); };
    for (QLabel *label : window().findChildren<QLabel *>()) {
        if (label->buddy()) {
            EXPECT_EQ(name(label->buddy()), label->text().remove('&')) << label->objectName().toStdString();
        }
    }
    for (QAbstractButton *button : window().findChildren<QAbstractButton *>())
        EXPECT_EQ(name(button), button->text().remove('&')) << button->objectName().toStdString();
    // The status line is read as the line it shows.
    EXPECT_EQ(name(status()), status()->text());
    EXPECT_EQ(name(view(TableOutlet::fileListView)), "MP3 files (drop files or folders here)");
    QAccessibleTableInterface *files = QAccessible::queryAccessibleInterface(view(TableOutlet::fileListView))->tableInterface();
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->columnDescription(2), "New name");
}

TEST_F(WindowTest, TheFileTableShowsEachFilesLengthReadOffTheWindowThread)
{
    // The audio's length in whole seconds, rounded; the bytes of a tag (here one with a large
    // cover) are no audio.
    const struct {
        const char *name;
        qint64 audioMs;
        bool tagged;
        const char *shown;
    } files[] = {{"short.mp3", 400, false, "0:00"},
                 {"almost a minute.mp3", 59600, false, "1:00"},
                 {"tagged.mp3", 125000, true, "2:05"}};
    QStringList paths;
    for (const auto &file : files) {
        paths.append(filePath(file.name));
        const qint64 bytes = file.audioMs * Mp3Fixtures::bytesPerSecond / 1000;
        ASSERT_TRUE(file.tagged ? Mp3Fixtures::writeTaggedMp3(paths.last(), {{MetadataKeys::cover, Mp3Fixtures::jpegPicture(1200, 1200)}}, bytes)
                                : Mp3Fixtures::writeMp3(paths.last(), bytes));
    }
    addAlbums({"Four tracks"});
    for (const char *title : {"1", "2", "3", "4"})
        session().addTrack(QString::fromLatin1(title), std::nullopt);
    // The window thread lists the files without waiting for them: their lengths come later,
    // from a worker, and a track without a file has none.
    session().setFiles(paths);
    EXPECT_EQ(column(TableOutlet::fileListView, FileTableModel::length), QStringList({"", "", "", ""}));
    session().waitForJob();
    EXPECT_EQ(column(TableOutlet::fileListView, FileTableModel::length), QStringList({"0:00", "1:00", "2:05", ""}));
}
