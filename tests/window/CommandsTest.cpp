// The commands behind the buttons on generated MP3 files, checked with the application's
// own reader (the file handler's tests cross-check that reader with mutagen).
#include "WindowTest.h"

#include "files/FileHandler.h"
#include "files/MetadataKeys.h"
#include "support/Mp3Fixtures.h"
#include "session/TrackCountNote.h"

#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>

class CommandsTest : public WindowTest {
protected:
    QString untagged(const QString &name)
    {
        EXPECT_TRUE(Mp3Fixtures::writeMp3(filePath(name)));
        return filePath(name);
    }
    static QVariant tag(const QString &path, const QString &key) { return MetadataKeys::toMap(FileHandler().readTags(path)).value(key); }
};

TEST_F(CommandsTest, TaggingWritesTheChosenAlbumWithTheCoverShownRenamingFollowsTheMaskRemovingAsksFirst)
{
    addAlbums({"First Album", "Second Album"});
    controller().resultList()->at(1)->setTrackList(trackList({"Intro", "AC/DC Live", "Outro"}));
    controller().resultList()->at(1)->setCover(filled(Qt::darkGreen, 40));
    window().selectRow(TableOutlet::resultTableView, 1);
    const QStringList files = {untagged("1.mp3"), untagged("2.mp3"), untagged("3.mp3")};
    listFiles(files);
    click("tagButton");
    EXPECT_EQ(status()->text(), "Tagging files finished...");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tag(files.at(i), MetadataKeys::album), "Second Album");
        EXPECT_EQ(tag(files.at(i), MetadataKeys::title), controller().trackItems()->at(i)->title());
        EXPECT_EQ(tag(files.at(i), MetadataKeys::cover).value<QImage>().pixelColor(20, 20).green(), QColor(Qt::darkGreen).green());
    }
    // Renamed files stay in their rows, selection included.
    view(TableOutlet::fileListView)->selectRow(1);
    field("renaming")->setText("%n - %t");
    click("renameButton");
    EXPECT_EQ(status()->text(), "Renaming files finished...");
    EXPECT_EQ(column(TableOutlet::fileListView, 0), QStringList({"01 - Intro.mp3", "02 - AC:DC Live.mp3", "03 - Outro.mp3"}));
    EXPECT_EQ(window().selectedRows(TableOutlet::fileListView), QList<int>({1}));

    // Removing tags asks first; the answer may come after the list changed, and the files
    // asked about are the ones that lose their tags.
    const QStringList renamed = *controller().songs();
    const auto answer = [&](QMessageBox::ButtonRole role) {
        click("removeTagsButton");
        std::unique_ptr<QMessageBox> question(window().findChild<QMessageBox *>("confirmation"));
        ASSERT_TRUE(question && question->isVisible() && question->text().contains("3 files"));
        controller().clearFiles();
        for (QAbstractButton *choice : question->buttons())
            if (question->buttonRole(choice) == role)
                choice->click();
        controller().waitForJob();
        listFiles(renamed);
    };
    answer(QMessageBox::RejectRole);
    EXPECT_EQ(tag(renamed.at(2), MetadataKeys::album), "Second Album");
    answer(QMessageBox::DestructiveRole);
    EXPECT_TRUE(takeStatusLines().contains("Finished removing existing tags."));
    for (const QString &file : renamed)
        EXPECT_FALSE(tag(file, MetadataKeys::album).isValid());
}

TEST_F(CommandsTest, CommandsSayWhyNothingHappensAndTaggingNotesDifferingCounts)
{
    const std::pair<QSize, const char *> notes[] = {{{5, 3}, "5 files, 3 tracks: files 4 and 5 are titled by their file names."},
        {{4, 3}, "4 files, 3 tracks: file 4 is titled by its file name."}, {{3, 3}, ""},
        {{2, 5}, "2 files, 5 tracks: tracks 3 to 5 are not written."}, {{1, 2}, "1 file, 2 tracks: track 2 is not written."},
        {{3, 0}, "3 files, no tracks: every file is titled by its file name."}};
    for (const auto &[counts, note] : notes)
        EXPECT_EQ(trackCountNote(counts.width(), counts.height()), note);

    const QStringList files = {untagged("1.mp3"), untagged("2.mp3")};
    listFiles(files);
    takeStatusLines();
    click("tagButton");
    controller().clearFiles();
    addAlbums({"First", "Second"});
    click("tagButton");
    click("renameButton");
    EXPECT_EQ(takeStatusLines(), QStringList({"Nothing to tag: no album listed.", "Waiting for user input...",
                                              "Nothing to tag: no files listed.", "Nothing to rename: no files listed."}));
    // With no album chosen the first is written, with the tracks and cover on show: here one
    // track typed in and no cover, so the album loses its cover and the files get none.
    controller().resultList()->at(0)->setCover(filled(Qt::red));
    controller().generateNewTrackItem("Typed", "");
    listFiles(files);
    click("tagButton");
    EXPECT_EQ(takeStatusLines().mid(0, 2), QStringList({"2 files, 1 track: file 2 is titled by its file name.", "Tagging files now..."}));
    EXPECT_EQ(QStringList({tag(files.at(0), MetadataKeys::album).toString(), tag(files.at(0), MetadataKeys::title).toString(),
                           tag(files.at(1), MetadataKeys::title).toString()}), QStringList({"First", "Typed", "2.mp3"}));
    EXPECT_FALSE(controller().resultList()->at(0)->cover() || tag(files.at(0), MetadataKeys::cover).isValid());
}

TEST_F(CommandsTest, AnAlbumTypedInByHandIsWrittenAndFilesThatCouldNotBeChangedAreNamed)
{
    const std::pair<const char *, QString> form[] = {{"artist", "Artist"}, {"album", "Typed"}, {"publicationYear", "1977"},
        {"genre", "Punk"}, {"label", "Indie"}, {"tracks", " 12 songs"}, {"discs", "two"}, {"trackArtist", "Stays"}};
    for (const auto &[name, text] : form)
        field(name)->setText(text);
    click("addAlbumButton");
    const QStringList shown = {"Artist", "Typed", "12", "1977", "Indie", "Punk", "0"};
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(this->column(TableOutlet::resultTableView, column), QStringList({shown.at(column)}));
    // The form empties, except for the track artist kept for the next track.
    for (const auto &[name, text] : form)
        EXPECT_EQ(field(name)->text(), name == QLatin1String("trackArtist") ? text : "") << name;

    // A file that goes missing after it was listed fails alone.
    const QString good = untagged("good.mp3"), missing = untagged("missing.mp3");
    listFiles({good, missing});
    QFile::remove(missing);
    click("tagButton");
    EXPECT_EQ(tag(good, MetadataKeys::album), "Typed");
    const auto *report = window().findChild<QMessageBox *>("fileFailures");
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->text().startsWith("Tagging: 1 file") && report->detailedText().startsWith(missing + ": "));
    EXPECT_FALSE(report->detailedText().contains(good) || QFile::exists(missing));
}

TEST_F(CommandsTest, TaggedFilesDroppedIntoAnEmptyWindowGiveTheirAlbumUpToTheFirstUntaggedOne)
{
    const auto tagged = [&](const QString &name, const QString &title, const QByteArray &cover = {}) {
        QVariantMap tags = {{MetadataKeys::albumArtist, "Band"}, {MetadataKeys::album, "Record"}, {MetadataKeys::trackCount, "9"},
                            {MetadataKeys::title, title}, {MetadataKeys::trackArtist, title + " Artist"}, {MetadataKeys::cover, cover}};
        EXPECT_TRUE(Mp3Fixtures::writeTaggedMp3(filePath(name), tags));
        return filePath(name);
    };
    // Files are read in path order; the first cover found is shown.
    listFiles({tagged("2.mp3", "Second", Mp3Fixtures::jpegPicture(30, 20)), tagged("1.mp3", "First"),
               tagged("3.mp3", "Third", Mp3Fixtures::jpegPicture(50, 40)), untagged("4.mp3"), tagged("5.mp3", "Fifth")});
    EXPECT_EQ(column(TableOutlet::resultTableView, 1) + column(TableOutlet::resultTableView, 2), QStringList({"Record", "9"}));
    EXPECT_EQ(column(TableOutlet::trackListView, 1), QStringList({"First", "Second", "Third"}));
    EXPECT_EQ(column(TableOutlet::trackListView, 2), QStringList({"First Artist", "Second Artist", "Third Artist"}));
    EXPECT_EQ(cover()->image().value_or(QImage()).size(), QSize(30, 20));
    EXPECT_EQ(field("keywords")->text(), " Band Record");
    // Files listed under an album add nothing; an untagged first file gives no album.
    listFiles({tagged("6.mp3", "Sixth")});
    EXPECT_EQ(controller().trackItems()->size(), 3);
    controller().clearAll();
    listFiles({untagged("0.mp3"), tagged("7.mp3", "Seventh")});
    EXPECT_FALSE(controller().resultList());
}

TEST_F(CommandsTest, ClicksMadeWhileACommandRanAreNotReplayedAfterIt)
{
    listFiles({untagged("a.mp3")});
    QAbstractButton *rename = button("renameButton");
    // A click as the window system hands it over: at once, or queued while the thread is busy.
    const auto click = [&](quint64 time, bool queued) {
        for (const bool press : {true, false}) {
            auto event = std::make_unique<QMouseEvent>(press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease,
                QPointF(5, 5), rename->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, press ? Qt::LeftButton : Qt::NoButton,
                Qt::NoModifier);
            event->setTimestamp(time);
            queued ? QCoreApplication::postEvent(rename, event.release()) : void(QCoreApplication::sendEvent(rename, event.get()));
        }
    };
    click(7000, true);   // two clicks made while the third one's renaming holds the window
    click(7000, true);
    click(7000, false);
    QCoreApplication::processEvents();
    controller().waitForJob();
    click(7000 + 60000, false);   // and one made after it ended
    EXPECT_EQ(takeStatusLines().count("Renaming files now..."), 2);
}

TEST_F(CommandsTest, LineUpOrdersTheFilesToTheTracksAndWarnsOfATrackLeftWithoutAFile)
{
    addAlbums({"Typed"});
    for (const char *title : {"One", "Lost Song", "Two", "Three"})
        controller().generateNewTrackItem(QString::fromLatin1(title), std::nullopt);
    listFiles({untagged("two.mp3"), untagged("zz extra.mp3"), untagged("one.mp3"), untagged("three.mp3")});
    takeStatusLines();
    click("lineUpButton");
    EXPECT_EQ(*controller().songs(),
              QStringList({filePath("one.mp3"), filePath("two.mp3"), filePath("three.mp3"), filePath("zz extra.mp3")}));
    EXPECT_EQ(column(TableOutlet::fileListView, 0).first(), "one.mp3");
    const QStringList lines = takeStatusLines();
    EXPECT_EQ(lines.mid(lines.size() - 2), QStringList({"Lined up 3 of 4 files; 1 left at the end.",
        "Track 2 (\"Lost Song\") has no file, so the files below it would take the wrong tracks: "
        "drag a file to row 2 or remove that track before tagging."}));
}
