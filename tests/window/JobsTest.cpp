// Long commands run as jobs off the window's thread: the window keeps working meanwhile,
// starts nothing else, and a cancelled job leaves every file wholly old or wholly new.
#include "WindowTest.h"

#include "common/StatusNotification.h"
#include "files/FileHandler.h"
#include "files/MetadataKeys.h"
#include "support/LocalCatalogue.h"
#include "support/Mp3Fixtures.h"

#include <QProgressBar>
#include <QTimer>

TEST_F(WindowTest, TheWindowKeepsRunningWhileASearchWaitsForTheService)
{
    LocalCatalogueOptions slow;
    slow.latencyMs = 2000;
    LocalCatalogue service(QStringLiteral(TAGWRIGHT_SOURCE_DIR "/data/catalogue"), slow);
    ASSERT_TRUE(service.isRunning());
    controller().setServiceConfig(service.config());
    button("storeUnitedStates")->click();
    field("keywords")->setText("Northern Lights");
    button("searchButton")->click();
    ASSERT_TRUE(controller().jobRunning());
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
    while (controller().jobRunning() && !(fired && painted))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(fired && painted && controller().jobRunning());
    controller().waitForJob();
    EXPECT_GT(controller().resultList()->size(), 0);
    EXPECT_TRUE(button("searchButton")->isEnabled() && !button("cancelJobButton")->isVisible());
    EXPECT_FALSE(takeStatusLines().contains("Renaming files now..."));
}

TEST_F(WindowTest, CancelledTaggingStopsAfterTheCurrentFileAndSaysHowManyChanged)
{
    // The batch itself, that files past the cancel are left byte for byte, is checked with
    // the file handler; here the window's cancel has to reach it at the right point.
    QStringList files;
    for (int i = 0; i < 50; ++i) {
        files.append(filePath(QStringLiteral("%1.mp3").arg(i, 2, 10, QChar('0'))));
        ASSERT_TRUE(Mp3Fixtures::writeMp3(files.last()));
    }
    listFiles(files);
    addAlbums({"Album"});
    // Cancelled from the worker itself as the tenth file is done, so the point is exact.
    ScopedObserver canceller(QVStatusChangedNotification, [this](const QString &, const void *, const QVariantMap &info) {
        if (info.value(QVStatusKey) == "Tagging new files. 10 files processed.")
            controller().cancelJob();
    });
    click("tagButton");
    EXPECT_EQ(status()->text(), "Tagging cancelled: 10 of 50 files changed.");
    for (const int i : {9, 10})
        EXPECT_EQ(MetadataKeys::toMap(FileHandler().readTags(files.at(i))).value(MetadataKeys::album).toString(), i < 10 ? "Album" : "") << i;
}
