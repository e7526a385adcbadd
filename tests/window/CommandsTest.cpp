// The commands behind the buttons on generated MP3 files, checked with the application's
// own reader (the file handler's tests cross-check that reader with mutagen).
#include "WindowTest.h"

#include "files/FileHandler.h"
#include "files/MetadataKeys.h"
#include "support/Mp3Fixtures.h"
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QDir>
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
    session().albums()->at(1)->setTrackList(trackList({"Intro", "AC/DC Live", "Outro"}));
    session().albums()->at(1)->setCover(filled(Qt::darkGreen, 40));
    window().selectRow(TableOutlet::resultTableView, 1);
    const QStringList files = {untagged("1.mp3"), untagged("2.mp3"), untagged("3.mp3")};
    listFiles(files);
    field("renaming")->setText("%n - %t");
    controller().controlTextDidChange();
    click("tagButton");
    EXPECT_EQ(status()->text(), "Tagging files finished...");
    // The preview and the new names follow the tags just written.
    EXPECT_EQ(field("preview")->text(), "01 - Intro");
    EXPECT_EQ(column(TableOutlet::fileListView, 2), QStringList({"01 - Intro.mp3", "02 - AC:DC Live.mp3", "03 - Outro.mp3"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tag(files.at(i), MetadataKeys::album), "Second Album");
        EXPECT_EQ(tag(files.at(i), MetadataKeys::title), session().tracks()->at(i)->title());
        EXPECT_EQ(tag(files.at(i), MetadataKeys::cover).value<QImage>().pixelColor(20, 20).green(), QColor(Qt::darkGreen).green());
    }
    // Renamed files stay in their rows, selection included.
    view(TableOutlet::fileListView)->selectRow(1);
    click("renameButton");
    EXPECT_EQ(status()->text(), "Renaming files finished...");
    EXPECT_EQ(column(TableOutlet::fileListView, 0), QStringList({"01 - Intro.mp3", "02 - AC:DC Live.mp3", "03 - Outro.mp3"}));
    EXPECT_EQ(window().selectedRows(TableOutlet::fileListView), QList<int>({1}));

    // Removing tags asks first; the answer may come after the list changed, and the files
    // asked about are the ones that lose their tags.
    const QStringList renamed = *session().files();
    const auto answer = [&](QMessageBox::ButtonRole role) {
        click("removeTagsButton");
        std::unique_ptr<QMessageBox> question(window().findChild<QMessageBox *>("confirmation"));
        ASSERT_TRUE(question && question->isVisible() && question->text().contains("3 files"));
        controller().clearFiles();
        for (QAbstractButton *choice : question->buttons())
            if (question->buttonRole(choice) == role)
                choice->click();
        session().waitForJob();
        listFiles(renamed);
    };
    answer(QMessageBox::RejectRole);
    EXPECT_EQ(tag(renamed.at(2), MetadataKeys::album), "Second Album");
    answer(QMessageBox::DestructiveRole);
    EXPECT_TRUE(takeStatusLines().contains("Finished removing existing tags."));
    for (const QString &file : renamed)
        EXPECT_FALSE(tag(file, MetadataKeys::album).isValid());
    click("clearAllButton");
    EXPECT_EQ(field("preview")->text(), "--");
}

TEST_F(CommandsTest, CommandsSayWhyNothingHappensAndUntaggedFilesKeepTheirNames)
{
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
    // A file without tags for the mask stays where it is, and says so before and after.
    listFiles(files);
    field("renaming")->setText("%a/%b/CD%d/%n - %t");
    controller().controlTextDidChange();
    session().waitForJob();
    EXPECT_EQ(field("preview")->text(), "--");
    EXPECT_EQ(column(TableOutlet::fileListView, 2).first(), "(has no tags to name it by; left as it is)");
    click("renameButton");
    EXPECT_TRUE(takeStatusLines().contains("Could not rename " + files.first() + ": has no tags to name it by; left as it is."));
    EXPECT_EQ(*session().files(), files);
    EXPECT_EQ(QDir(filePath("")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList({"1.mp3", "2.mp3"}));

    // With no album chosen the first is written, with the tracks and cover on show: here one
    // track typed in and no cover, so the album loses its cover and the files get none.
    session().albums()->at(0)->setCover(filled(Qt::red));
    session().addTrack("Typed", "");
    click("tagButton");
    const QStringList tagging = takeStatusLines();
    EXPECT_EQ(tagging.mid(tagging.size() - 2), QStringList({"Tagging files finished...", "1 file has no track and is titled by its file name."}));
    EXPECT_EQ(QStringList({tag(files.at(0), MetadataKeys::album).toString(), tag(files.at(0), MetadataKeys::title).toString(),
                           tag(files.at(1), MetadataKeys::title).toString()}), QStringList({"First", "Typed", "2.mp3"}));
    EXPECT_FALSE(session().albums()->at(0)->cover() || tag(files.at(0), MetadataKeys::cover).isValid());
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
    EXPECT_TRUE(report->text().startsWith("Tagging: 1 file could not be changed") && report->detailedText().startsWith(missing + ": "));
    EXPECT_FALSE(report->detailedText().contains(good) || QFile::exists(missing));
    // The run ends as a clean one would, then says what failed; the failed row is marked with
    // the reason until the next run starts.
    const QStringList lines = takeStatusLines();
    EXPECT_EQ(lines.mid(lines.size() - 3), QStringList({"Tagging files finished...", "2 files, no tracks: every file is titled by its file name.",
                                                        "1 of 2 files could not be changed; see the list."}));
    const QModelIndex failed = model(TableOutlet::fileListView)->index(1, 0), fine = model(TableOutlet::fileListView)->index(0, 0);
    EXPECT_TRUE(failed.data(Qt::DecorationRole).isValid() && !fine.data(Qt::DecorationRole).isValid());
    EXPECT_EQ(failed.data(Qt::ToolTipRole).toString(), report->detailedText().mid(missing.size() + 2));
    // Assistive tools read the reason as the cell's description.
    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(view(TableOutlet::fileListView))->tableInterface();
    EXPECT_EQ(table->cellAt(1, 0)->text(QAccessible::Description), failed.data(Qt::ToolTipRole).toString());
    session().removeTags({good});
    EXPECT_FALSE(failed.data(Qt::DecorationRole).isValid());
}

TEST_F(CommandsTest, TaggedFilesDroppedIntoAnEmptyWindowGiveEveryTrackTheyNameInDiscAndTrackOrder)
{
    const auto tagged = [&](const QString &name, const QString &title, const QString &discAndNumber, const QByteArray &cover = {}) {
        QVariantMap tags = {{MetadataKeys::albumArtist, "Band"}, {MetadataKeys::album, "Record"}, {MetadataKeys::trackCount, "9"}, {MetadataKeys::title, title},
                            {MetadataKeys::trackArtist, title + " Artist"}, {MetadataKeys::trackNumber, discAndNumber.section(u'.', 1)}, {MetadataKeys::cover, cover}};
        if (!discAndNumber.section(u'.', 0, 0).isEmpty())
            tags.insert(MetadataKeys::discNumber, discAndNumber.section(u'.', 0, 0));
        EXPECT_TRUE(Mp3Fixtures::writeTaggedMp3(filePath(name), tags));
        return filePath(name);
    };
    // Files are read in path order, untagged ones passed over; the first cover found is shown;
    // a track named twice is listed once; a track without a disc is on the first.
    listFiles({untagged("0.mp3"), tagged("1.mp3", "Flip", "2.1", Mp3Fixtures::jpegPicture(30, 20)), tagged("2.mp3", "Opener", ".1"),
               untagged("3.mp3"), tagged("4.mp3", "Closer", "2.2", Mp3Fixtures::jpegPicture(50, 40)),
               tagged("5.mp3", "Middle", "1.3"), tagged("6.mp3", "Opener again", "1.1")});
    EXPECT_EQ(column(TableOutlet::resultTableView, 1) + column(TableOutlet::resultTableView, 2), QStringList({"Record", "9"}));
    EXPECT_EQ(column(TableOutlet::trackListView, 1), QStringList({"Opener", "Middle", "Flip", "Closer"}));
    EXPECT_EQ(column(TableOutlet::trackListView, 2), QStringList({"Opener Artist", "Middle Artist", "Flip Artist", "Closer Artist"}));
    EXPECT_EQ(session().tracks()->at(3)->discNumber(), 2);
    EXPECT_EQ(cover()->image().value_or(QImage()).size(), QSize(30, 20));
    EXPECT_EQ(field("keywords")->text(), " Band Record");
    // Files listed under an album add nothing.
    listFiles({tagged("7.mp3", "Seventh", "1.7")});
    EXPECT_EQ(session().tracks()->size(), 4);
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
    session().waitForJob();
    click(7000 + 60000, false);   // and one made after it ended
    EXPECT_EQ(takeStatusLines().count("Renaming files now..."), 2);
}

TEST_F(CommandsTest, LineUpPutsEachFileBesideItsTrackAndTaggingWritesThatPairing)
{
    addAlbums({"Typed"});
    for (const char *title : {"One", "Lost Song", "Two", "Three"})
        session().addTrack(QString::fromLatin1(title), std::nullopt);
    listFiles({untagged("two.mp3"), untagged("zz extra.mp3"), untagged("one.mp3"), untagged("three.mp3")});
    takeStatusLines();
    click("lineUpButton");
    EXPECT_EQ(column(TableOutlet::fileListView, 0), QStringList({"one.mp3", "", "two.mp3", "three.mp3", "zz extra.mp3"}));
    EXPECT_EQ(takeStatusLines().last(), "Lined up 3 of 4 files; 1 left at the end.");
    click("tagButton");
    const QStringList lines = takeStatusLines();
    // What was left out is said as the run ends, where it stays in sight.
    EXPECT_EQ(lines.first(), "Tagging files now...");
    EXPECT_EQ(lines.mid(lines.size() - 2), QStringList({"Tagging files finished...", "1 of 4 tracks has no file and is not written. "
                                                        "1 file has no track and is titled by its file name."}));
    const std::pair<const char *, const char *> written[] = {{"one.mp3", "One 1"}, {"two.mp3", "Two 3"},
                                                             {"three.mp3", "Three 4"}, {"zz extra.mp3", "zz extra.mp3 5"}};
    for (const auto &[file, title] : written)
        EXPECT_EQ(tag(filePath(file), MetadataKeys::title).toString() + ' ' + tag(filePath(file), MetadataKeys::trackNumber).toString(), title);
}
