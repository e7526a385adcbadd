// Long commands run as jobs off the window's thread: the window keeps working meanwhile,
// starts nothing else, and a cancelled job leaves every file wholly old or wholly new.
#include "WindowTest.h"

#include "common/JobRunner.h"
#include "files/FileHandler.h"
#include "files/MetadataKeys.h"
#include "support/LocalCatalogue.h"
#include "support/Mp3Fixtures.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QSemaphore>
#include <QTableWidget>
#include <QTimer>

TEST_F(WindowTest, TheWindowKeepsRunningWhileASearchWaitsForTheService)
{
    LocalCatalogueOptions slow;
    slow.latencyMs = 2000;
    LocalCatalogue service(QStringLiteral(TAGWRIGHT_SOURCE_DIR "/data/catalogue"), slow);
    ASSERT_TRUE(service.isRunning());
    session().setServiceConfig(service.config());
    button("storeUnitedStates")->click();
    field("keywords")->setText("Northern Lights");
    button("searchButton")->click();
    ASSERT_TRUE(session().isBusy());
    EXPECT_FALSE(button("searchButton")->isEnabled() || button("tagButton")->isEnabled());
    EXPECT_TRUE(button("cancelJobButton")->isVisible());
    EXPECT_EQ(child<QProgressBar>("jobProgress")->maximum(), 0);   // indeterminate while waiting
    // Input made meanwhile starts nothing, then or later.
    button("renameButton")->click();
    controller().processTagging();

    // While the search waits, a timer fires and the cover view repaints.
    bool fired = false, painted = false;
    struct PaintWatch : QObject {
        bool &painted;
        explicit PaintWatch(bool &flag) : painted(flag) {}
        bool eventFilter(QObject *, QEvent *event) override { painted |= event->type() == QEvent::Paint; return false; }
    } watch(painted);
    cover()->installEventFilter(&watch);
    QTimer::singleShot(10, cover(), [&] { fired = true; cover()->update(); });
    while (session().isBusy() && !(fired && painted))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(fired && painted && session().isBusy());
    session().waitForJob();
    EXPECT_GT(session().albums()->size(), 0);
    EXPECT_TRUE(button("searchButton")->isEnabled() && !button("cancelJobButton")->isVisible());
    EXPECT_FALSE(takeStatusLines().contains("Renaming files now..."));
}

class TaggingJobTest : public WindowTest {
protected:
    // Lists `count` untagged files "00.mp3", "01.mp3", ... and types in an album to tag them with.
    QStringList listFilesAndAnAlbum(int count)
    {
        QStringList files;
        for (int i = 0; i < count; ++i) {
            files.append(filePath(QStringLiteral("%1.mp3").arg(i, 2, 10, QChar('0'))));
            EXPECT_TRUE(Mp3Fixtures::writeMp3(files.last()));
        }
        listFiles(files);
        addAlbums({"Album"});
        return files;
    }
};

TEST_F(TaggingJobTest, CancelledTaggingStopsAfterTheCurrentFileAndSaysHowManyChanged)
{
    // The batch itself, that files past the cancel are left byte for byte, is checked with
    // the file handler; here the window's cancel has to reach it at the right point.
    const QStringList files = listFilesAndAnAlbum(50);
    // Cancelled from the worker itself as the tenth file is done, so the point is exact.
    const QObject canceller;
    QObject::connect(&session().jobRunner(), &JobRunner::statusReported, &canceller, [this](const QString &line) {
        if (line == "Tagging new files. 10 files processed.")
            session().cancelJob();
    }, Qt::DirectConnection);
    click("tagButton");
    EXPECT_EQ(status()->text(), "Tagging cancelled: 10 of 50 files changed.");
    for (const int i : {9, 10})
        EXPECT_EQ(MetadataKeys::toMap(FileHandler().readTags(files.at(i))).value(MetadataKeys::album).toString(), i < 10 ? "Album" : "") << i;
}

TEST_F(TaggingJobTest, QuittingDuringAJobAsksThenCancelsItAsCancelDoesAndCloses)
{
    QApplication::setQuitOnLastWindowClosed(false);   // the test's application outlives the window
    listFilesAndAnAlbum(30);
    // The window is closed as the fifth file is done, and the job waits there for the answers.
    QSemaphore answered;
    const QObject quitter;
    QObject::connect(&session().jobRunner(), &JobRunner::statusReported, &quitter, [&](const QString &line) {
        if (line != "Tagging new files. 5 files processed.")
            return;
        QMetaObject::invokeMethod(&window(), &QWidget::close, Qt::BlockingQueuedConnection);
        answered.tryAcquire(1, 30000);
    }, Qt::DirectConnection);
    const auto question = [this] { return window().findChild<QMessageBox *>("quitDuringJob"); };
    button("tagButton")->click();
    while (session().isBusy() && !question())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(question());
    EXPECT_EQ(question()->text(), "Cancel the running job and quit?");
    question()->button(QMessageBox::No)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window().isVisible() && session().isBusy());

    child<QAction>("quitAction")->trigger();   // Ctrl+Q
    ASSERT_TRUE(question());
    question()->button(QMessageBox::Yes)->click();
    answered.release();
    session().waitForJob();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(status()->text(), "Tagging cancelled: 5 of 30 files changed.");
    QApplication::setQuitOnLastWindowClosed(true);
}

TEST_F(TaggingJobTest, EditUndoNamesWhatItTakesBackAndRestoresFilesAndRows)
{
    session().setJournalFolder(filePath("journal"));
    const QStringList files = listFilesAndAnAlbum(3);
    QList<QByteArray> before;
    for (const QString &path : files)
        before.append(readBytes(path));
    field("renaming")->setText("%b %n");
    controller().controlTextDidChange();
    click("tagButton");
    click("renameButton");
    QAction *undo = child<QAction>("undoAction");
    EXPECT_TRUE(undo->text() == "Undo Rename files (3 files)" && undo->isEnabled() && undo->shortcut() == QKeySequence::Undo)
        << undo->text().toStdString();
    for (const char *next : {"Undo Tag files (3 files)", "&Undo"}) {
        undo->trigger();
        session().waitForJob();
        EXPECT_EQ(undo->text(), next);
    }
    EXPECT_FALSE(undo->isEnabled());
    // The rows keep the files under their old names, and the files are as they were.
    EXPECT_EQ(*session().files(), files);
    for (int i = 0; i < files.size(); ++i)
        EXPECT_EQ(readBytes(files.at(i)), before.at(i)) << i;
    child<QAction>("historyAction")->trigger();
    auto *history = window().findChild<QTableWidget *>();
    ASSERT_TRUE(history);
    EXPECT_EQ(history->accessibleName(), "Operations, newest first:");
    EXPECT_EQ(history->horizontalHeaderItem(1)->text(), "What");
    EXPECT_EQ((QStringList{history->item(0, 1)->text(), history->item(1, 1)->text(), history->item(1, 3)->text()}),
              (QStringList{"Rename files", "Tag files", "Undone"}));
}
