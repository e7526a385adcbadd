// The commands behind the buttons on generated MP3 files, checked with the application's
// own reader (the file handler's tests cross-check that reader with mutagen).
#include "WindowTest.h"

#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "support/Mp3Fixtures.h"
#include "window/TrackCountNote.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>

namespace {

QVariantMap tagsOf(const QString &path)
{
    return FileHandler().readMetaDataFromMp3File(path);
}

} // namespace

class CommandsTest : public WindowTest {
protected:
    QString untagged(const QString &name, quint32 seed = 1)
    {
        const QString path = filePath(name);
        EXPECT_TRUE(Mp3Fixtures::writeMp3(path, 8 * Mp3Fixtures::frameSize, seed));
        return path;
    }
    QString tagged(const QString &name, const QVariantMap &tags)
    {
        const QString path = filePath(name);
        EXPECT_TRUE(Mp3Fixtures::writeTaggedMp3(path, tags));
        return path;
    }
    // Two albums typed in, the second with three tracks of its own and chosen.
    void chooseAlbumWithTracks()
    {
        controller().generateNewAlbumEntryForArtist("First Artist", "First Album", "1990", "Pop", "L", "1", "1");
        controller().generateNewAlbumEntryForArtist("The Band", "Second Album", "2004", "Rock", "Label", "3", "2");
        controller().resultList()->at(1)->setTrackList(trackList({"Intro", "AC/DC Live", "Outro"}, "Guest"));
        controller().resultList()->at(1)->setCover(filled(Qt::darkGreen, 40));
        window().selectRow(TableOutlet::resultTableView, 1);
    }
    // The confirmation question on show, if any.
    QMessageBox *openConfirmation()
    {
        for (QMessageBox *box : window().findChildren<QMessageBox *>("confirmation"))
            if (box->isVisible())
                return box;
        return nullptr;
    }
};

TEST_F(CommandsTest, TaggingWritesTheChosenAlbumTrackByTrackWithTheCoverShown)
{
    chooseAlbumWithTracks();
    const QStringList files = {untagged("1.mp3", 1), untagged("2.mp3", 2), untagged("3.mp3", 3)};
    listFiles(files);
    ASSERT_TRUE(controller().resultList()->size() == 2) << "listing files under albums adds none";

    takeStatusLines();
    button("tagButton")->click();
    EXPECT_EQ(takeStatusLines(), QStringList({"Tagging files now...", "Tagging new files. 1 files processed.",
                                              "Tagging new files. 2 files processed.",
                                              "Tagging new files. 3 files processed.", "Tagging files finished..."}));
    EXPECT_TRUE(button("tagButton")->isEnabled());

    const QStringList titles = {"Intro", "AC/DC Live", "Outro"};
    for (int i = 0; i < 3; ++i) {
        // The chosen album and its tracks reach the files; how each value is written is
        // the file handler's own tests' business.
        const QVariantMap tags = tagsOf(files.at(i));
        EXPECT_EQ(tags.value(QVAlbumTag), "Second Album");
        EXPECT_EQ(tags.value(QVArtistTrackTag), "Guest");
        EXPECT_EQ(tags.value(QVTitleTag), titles.at(i));
        EXPECT_EQ(tags.value(QVCoverTag).value<QImage>().pixelColor(20, 20).green(),
                  QColor(Qt::darkGreen).green()) << "the cover shown, through JPEG";
    }
}

TEST_F(CommandsTest, TaggingNeedsFilesAndAlbumsAndTakesTheFirstAlbumWhenNoneIsChosen)
{
    const QString file = untagged("song.mp3");
    listFiles({file});
    takeStatusLines();
    button("tagButton")->click();
    EXPECT_EQ(takeStatusLines(), QStringList({"Nothing to tag: no album listed."}));
    EXPECT_TRUE(tagsOf(file).isEmpty());

    controller().clearFiles();
    controller().generateNewAlbumEntryForArtist("A", "First", "", "", "", "", "");
    controller().generateNewAlbumEntryForArtist("B", "Second", "", "", "", "", "");
    controller().resultList()->at(0)->setCover(filled(Qt::red, 40));
    takeStatusLines();
    button("tagButton")->click();
    EXPECT_EQ(takeStatusLines(), QStringList({"Nothing to tag: no files listed."}));

    listFiles({file});
    EXPECT_EQ(window().selectedRow(TableOutlet::resultTableView), -1);
    takeStatusLines();
    button("tagButton")->click();
    EXPECT_EQ(takeStatusLines().first(), "1 file, no tracks: every file is titled by its file name.");
    EXPECT_EQ(tagsOf(file).value(QVAlbumTag), "First");
    EXPECT_EQ(tagsOf(file).value(QVTitleTag), "song.mp3");
    // The cover view was empty, so the album lost its cover and the file got none.
    EXPECT_FALSE(controller().resultList()->at(0)->cover());
    EXPECT_FALSE(tagsOf(file).contains(QVCoverTag));
}

TEST_F(CommandsTest, RenamingFollowsTheMaskAndKeepsTheSelection)
{
    chooseAlbumWithTracks();
    const QString folder = filePath("");
    listFiles({untagged("b.mp3", 2), untagged("a.mp3", 1), untagged("c.mp3", 3)});
    button("tagButton")->click();
    selectRows(TableOutlet::fileListView, {1});

    field("renaming")->setText("%n - %t");
    takeStatusLines();
    button("renameButton")->click();
    const QStringList lines = takeStatusLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "Renaming files now...");
    EXPECT_EQ(lines.last(), "Renaming files finished...");
    EXPECT_TRUE(lines.contains("New file renamed. 3 files processed."));

    EXPECT_EQ(column(TableOutlet::fileListView, 0),
              QStringList({"01 - Intro.mp3", "02 - AC:DC Live.mp3", "03 - Outro.mp3"}));
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath("02 - AC:DC Live.mp3")));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("a.mp3")));
    EXPECT_EQ(window().selectedRows(TableOutlet::fileListView), QList<int>({1}));
    EXPECT_TRUE(button("renameButton")->isEnabled());

    controller().clearFiles();
    takeStatusLines();
    button("renameButton")->click();
    EXPECT_EQ(takeStatusLines(), QStringList({"Nothing to rename: no files listed."}));
}

TEST_F(CommandsTest, RemovingTagsLeavesUntaggedFiles)
{
    const QStringList files = {tagged("a.mp3", {{QVTitleTag, "A"}, {QVAlbumTag, "X"}}),
                               tagged("b.mp3", {{QVTitleTag, "B"}, {QVAlbumTag, "X"}})};
    controller().generateNewAlbumEntryForArtist("Kept", "Album", "", "", "", "", "");
    listFiles(files);
    takeStatusLines();
    // Nothing happens before the user confirms, for the number of files listed.
    button("removeTagsButton")->click();
    QMessageBox *question = openConfirmation();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(question->text().contains("2 files"));
    question->button(QMessageBox::Cancel)->click();
    EXPECT_EQ(openConfirmation(), nullptr);
    EXPECT_EQ(tagsOf(files.at(0)).value(QVTitleTag), "A");

    button("removeTagsButton")->click();
    question = openConfirmation();
    ASSERT_NE(question, nullptr);
    controller().clearFiles();   // the files asked about are the ones that lose their tags
    takeStatusLines();
    for (QAbstractButton *answer : question->buttons())
        if (answer != question->button(QMessageBox::Cancel))
            answer->click();
    EXPECT_EQ(takeStatusLines(), QStringList({"Start removing existing tags.", "Removing existing tags. 1 files processed.",
                                              "Removing existing tags. 2 files processed.",
                                              "Finished removing existing tags."}));
    for (const QString &file : files)
        EXPECT_TRUE(tagsOf(file).isEmpty());
}

TEST_F(CommandsTest, AlbumsAndTracksTypedInByHand)
{
    controller().generateNewAlbumEntryForArtist("Earlier", "Album", "", "", "", "", "");
    window().selectRow(TableOutlet::resultTableView, 0);
    field("artist")->setText("Artist");
    field("album")->setText("Typed Album");
    field("publicationYear")->setText("1977");
    field("genre")->setText("Punk");
    field("label")->setText("Indie");
    field("tracks")->setText(" 12 songs");
    field("discs")->setText("two");
    field("trackTitle")->setText("Left in the title field");
    field("trackArtist")->setText("Stays");
    button("addAlbumButton")->click();

    ASSERT_EQ(controller().resultList()->size(), 2);
    const ResultEntry &album = *controller().resultList()->at(1);
    EXPECT_EQ(album.artistName(), "Artist");
    EXPECT_EQ(album.albumName(), "Typed Album");
    EXPECT_EQ(album.yearOfPublication(), "1977");
    EXPECT_EQ(album.genre(), "Punk");
    EXPECT_EQ(album.label(), "Indie");
    EXPECT_EQ(album.numberOfTracks(), 12);
    EXPECT_EQ(album.numberOfDiscs(), 0);
    EXPECT_FALSE(album.trackList());
    EXPECT_EQ(window().selectedRow(TableOutlet::resultTableView), -1);
    for (const char *name : {"artist", "album", "publicationYear", "genre", "label", "tracks", "discs", "trackTitle"})
        EXPECT_EQ(field(name)->text(), "") << name;
    EXPECT_EQ(field("trackArtist")->text(), "Stays");

    // A track typed while an album's tracks are shown joins that album.
    auto tracks = std::make_shared<TrackList>();
    controller().resultList()->at(1)->setTrackList(tracks);
    window().selectRow(TableOutlet::resultTableView, 1);
    field("trackTitle")->setText("New Song");
    button("addTrackButton")->click();
    ASSERT_EQ(tracks->size(), 1);
    EXPECT_EQ(tracks->at(0)->title(), "New Song");
    EXPECT_EQ(tracks->at(0)->artist(), "Stays");
    EXPECT_EQ(album.numberOfTracks(), 12);
}

TEST_F(CommandsTest, TaggedFilesDroppedIntoAnEmptyWindowGiveTheirAlbum)
{
    const QVariantMap album = {{QVArtistAlbumTag, "Band"}, {QVAlbumTag, "Record"}, {QVYearTag, "2010"},
                               {QVGenreTag, "Folk"}, {QVTrackCountTag, "9"}, {QVDiscsTag, "1"}};
    auto with = [&](const QString &title, const QString &artist) {
        QVariantMap tags = album;
        tags.insert(QVTitleTag, title);
        tags.insert(QVArtistTrackTag, artist);
        return tags;
    };
    QVariantMap covered = with("Second", "Guest");
    covered.insert(QVCoverTag, Mp3Fixtures::jpegPicture(30, 20));
    QVariantMap coveredLater = with("Third", "Band");   // the first cover found stays
    coveredLater.insert(QVCoverTag, Mp3Fixtures::jpegPicture(50, 40));
    const QStringList files = {tagged("2.mp3", covered), tagged("1.mp3", with("First", "Band")),
                               tagged("3.mp3", coveredLater)};
    listFiles(files);

    ASSERT_EQ(controller().resultList()->size(), 1);
    const ResultEntry &entry = *controller().resultList()->at(0);
    EXPECT_EQ(entry.artistName(), "Band");
    EXPECT_EQ(entry.albumName(), "Record");
    EXPECT_EQ(entry.numberOfTracks(), 9);
    EXPECT_EQ(column(TableOutlet::trackListView, 1), QStringList({"First", "Second", "Third"}));
    EXPECT_EQ(column(TableOutlet::trackListView, 2), QStringList({"Band", "Guest", "Band"}));
    ASSERT_TRUE(cover()->image());
    EXPECT_EQ(cover()->image()->size(), QSize(30, 20));
    EXPECT_EQ(field("keywords")->text(), " Band Record");

    listFiles({tagged("4.mp3", with("Fourth", "Band"))});
    EXPECT_EQ(controller().resultList()->size(), 1);
    EXPECT_EQ(controller().trackItems()->size(), 3);
}

TEST_F(CommandsTest, AnUntaggedFileEndsTheScanOfDroppedFiles)
{
    const QVariantMap tags = {{QVAlbumTag, "Record"}, {QVTitleTag, "Song"}};
    listFiles({tagged("1.mp3", tags), untagged("2.mp3"), tagged("3.mp3", tags)});
    EXPECT_EQ(controller().resultList()->size(), 1);
    EXPECT_EQ(controller().trackItems()->size(), 1);
    // Without an album artist its place in the keywords stays empty.
    EXPECT_EQ(field("keywords")->text(), "  Record");

    controller().clearAll();
    listFiles({untagged("0.mp3"), tagged("4.mp3", tags)});
    EXPECT_FALSE(controller().resultList());
    EXPECT_FALSE(controller().trackItems());
}

TEST_F(CommandsTest, FilesThatCouldNotBeChangedAreNamedToTheUser)
{
    controller().generateNewAlbumEntryForArtist("A", "Album", "", "", "", "", "");
    const QString good = untagged("good.mp3");
    const QString missing = filePath("missing.mp3");
    listFiles({good, missing});
    button("tagButton")->click();

    EXPECT_EQ(status()->text(), "Tagging files finished...");
    EXPECT_EQ(tagsOf(good).value(QVAlbumTag), "Album");
    auto *report = window().findChild<QMessageBox *>("fileFailures");
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->text().startsWith("Tagging: 1 file"));
    EXPECT_TRUE(report->detailedText().startsWith(missing + ": "));
    EXPECT_FALSE(report->detailedText().contains(good));
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(CommandsTest, MismatchedFileAndTrackCountsAreNotedBeforeTagging)
{
    const std::pair<QSize, const char *> cases[] = {
        {{5, 3}, "5 files, 3 tracks: files 4 and 5 are titled by their file names."},
        {{4, 3}, "4 files, 3 tracks: file 4 is titled by its file name."},
        {{2, 5}, "2 files, 5 tracks: tracks 3 to 5 are not written."},
        {{1, 2}, "1 file, 2 tracks: track 2 is not written."},
        {{3, 0}, "3 files, no tracks: every file is titled by its file name."},
        {{3, 3}, ""},
    };
    for (const auto &[counts, note] : cases)
        EXPECT_EQ(trackCountNote(counts.width(), counts.height()), note);

    controller().generateNewAlbumEntryForArtist("A", "Album", "", "", "", "", "");
    controller().generateNewTrackItem("Only", "");
    listFiles({untagged("1.mp3", 1), untagged("2.mp3", 2)});
    takeStatusLines();
    button("tagButton")->click();
    const QStringList lines = takeStatusLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.mid(0, 2), QStringList({"2 files, 1 track: file 2 is titled by its file name.",
                                            "Tagging files now..."}));
    EXPECT_EQ(tagsOf(filePath("2.mp3")).value(QVTitleTag), "2.mp3");
}

TEST_F(CommandsTest, ClicksMadeWhileACommandRanAreNotReplayedAfterIt)
{
    listFiles({untagged("a.mp3")});
    QAbstractButton *rename = button("renameButton");
    const QPointF centre = rename->rect().center();
    // A click as the window system delivers it: at once, or queued until the thread is free.
    const auto click = [&](quint64 time, bool queued) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            auto *event = new QMouseEvent(type, centre, rename->mapToGlobal(centre), Qt::LeftButton,
                                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                          Qt::NoModifier);
            event->setTimestamp(time);
            if (queued) {
                QCoreApplication::postEvent(rename, event);
            } else {
                QCoreApplication::sendEvent(rename, event);
                delete event;
            }
        }
    };
    const auto renamings = [&] { return takeStatusLines().count("Renaming files now..."); };
    takeStatusLines();
    // Two more clicks made while the first one's renaming holds the window.
    click(7000, true);
    click(7000, true);
    click(7000, false);
    QCoreApplication::processEvents();
    EXPECT_EQ(renamings(), 1);

    click(7000 + 60000, false);
    EXPECT_EQ(renamings(), 1) << "a click made after the command ended";
}
