#include "WindowTest.h"

#include "common/StatusNotification.h"

#include <QSettings>

TEST_F(WindowTest, StartsWithTheRegisteredMaskWithoutWritingIt)
{
    EXPECT_EQ(ui().renaming->text(), "%n - %t");
    EXPECT_EQ(ui().status->text(), "Waiting for user input...");
    EXPECT_FALSE(controller().resultList());
    EXPECT_FALSE(controller().trackItems());
    EXPECT_FALSE(controller().songs());
    EXPECT_TRUE(window().windowTitle().contains("demo catalogue"));

    // Entering and leaving the field without typing stores nothing.
    ui().renaming->setFocus();
    pressKey(ui().renaming, Qt::Key_Return);
    QSettings settings("Tagwright", "Tagwright");
    EXPECT_FALSE(settings.contains(QVRenamingMaskKey));
}

TEST_F(WindowTest, PreviewFollowsEachKeystrokeAndTheMaskSurvivesARestart)
{
    // A listed file without tags previews as the mask itself.
    listFiles({filePath("untagged.mp3")});
    ui().renaming->clear();
    const QString mask = "%b/%n";
    QString typed;
    for (const QChar character : mask) {
        typeInto(ui().renaming, QString(character));
        typed += character;
        EXPECT_EQ(ui().renaming->text(), typed);
        EXPECT_EQ(ui().preview->text(), typed);
    }
    pressKey(ui().renaming, Qt::Key_Return);
    EXPECT_EQ(QSettings("Tagwright", "Tagwright").value(QVRenamingMaskKey).toString(), mask);

    restartWindow();
    EXPECT_EQ(ui().renaming->text(), mask);
}

TEST_F(WindowTest, StatusLineIsRedrawnForEveryNotificationAsItArrives)
{
    takeStatusLines();
    postStatusChange(this, "one");
    postStatusChange(nullptr, "two");
    // A notification without a message leaves the line as it is.
    NotificationCenter::defaultCenter().post(QVStatusChangedNotification, this, {});
    postStatusChange(this, "three");
    EXPECT_EQ(takeStatusLines(), QStringList({"one", "two", "three"}));
    EXPECT_EQ(ui().status->text(), "three");

    // A closed window hears nothing more.
    m_window.reset();
    postStatusChange(this, "after the window");
}

TEST_F(WindowTest, EmptyKeywordsMakeTheSearchButtonDoNothing)
{
    controller().generateNewAlbumEntryForArtist("Artist", "Album", "2001", "Rock", "Label", "3", "1");
    ui().cover->setImage(QImage(8, 8, QImage::Format_RGB32));
    postStatusChange(this, "before");
    takeStatusLines();

    ui().keywords->clear();
    ui().searchButton->click();
    EXPECT_TRUE(takeStatusLines().isEmpty());
    EXPECT_EQ(ui().status->text(), "before");
    EXPECT_EQ(controller().resultList()->size(), 1);
    EXPECT_TRUE(ui().cover->image());
}

TEST_F(WindowTest, ClearingFilesKeepsAlbumsAndClearingAllKeepsFormsAndMask)
{
    controller().generateNewAlbumEntryForArtist("Artist", "Album", "2001", "Rock", "Label", "3", "1");
    controller().generateNewTrackItem("Song", "Singer");
    listFiles({filePath("b.mp3"), filePath("a.mp3")});
    ui().keywords->setText("some words");
    ui().renaming->setText("%t");
    ui().preview->setText("kept preview");
    ui().trackArtist->setText("Kept Artist");
    ui().artist->setText("Kept form");

    ui().clearFilesButton->click();
    EXPECT_FALSE(controller().songs());
    EXPECT_EQ(view(TableOutlet::fileListView)->model()->rowCount(), 0);
    EXPECT_EQ(controller().resultList()->size(), 1);
    EXPECT_EQ(controller().trackItems()->size(), 1);
    EXPECT_EQ(ui().status->text(), "Waiting for user input...");

    listFiles({filePath("c.mp3")});
    ui().preview->setText("kept preview");
    postStatusChange(this, "busy");
    ui().clearAllButton->click();
    EXPECT_FALSE(controller().resultList());
    EXPECT_FALSE(controller().trackItems());
    EXPECT_FALSE(controller().songs());
    EXPECT_EQ(ui().keywords->text(), "");
    EXPECT_EQ(ui().status->text(), "Waiting for user input...");
    EXPECT_EQ(ui().renaming->text(), "%t");
    EXPECT_EQ(ui().preview->text(), "kept preview");
    EXPECT_EQ(ui().trackArtist->text(), "Kept Artist");
    EXPECT_EQ(ui().artist->text(), "Kept form");
}
