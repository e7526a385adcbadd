#include "WindowTest.h"

#include "common/StatusNotification.h"

#include <QSettings>

TEST_F(WindowTest, TheMaskIsStoredOnlyWhenTypedAndSurvivesARestart)
{
    EXPECT_EQ(field("renaming")->text(), "%n - %t");
    EXPECT_EQ(status()->text(), "Waiting for user input...");
    EXPECT_FALSE(controller().resultList());
    EXPECT_FALSE(controller().trackItems());
    EXPECT_FALSE(controller().songs());
    EXPECT_TRUE(window().windowTitle().contains("demo catalogue"));

    // Entering and leaving the field without typing stores nothing.
    field("renaming")->setFocus();
    pressKey(field("renaming"), Qt::Key_Return);
    EXPECT_FALSE(QSettings("Tagwright", "Tagwright").contains(QVRenamingMaskKey));

    // Typed key by key, the mask is stored. A listed file without tags previews as the mask itself.
    listFiles({filePath("untagged.mp3")});
    field("renaming")->clear();
    const QString mask = "%b/%n";
    QString typed;
    for (const QChar character : mask) {
        typeInto(field("renaming"), QString(character));
        typed += character;
        EXPECT_EQ(field("renaming")->text(), typed);
        EXPECT_EQ(field("preview")->text(), typed);
    }
    pressKey(field("renaming"), Qt::Key_Return);
    EXPECT_EQ(QSettings("Tagwright", "Tagwright").value(QVRenamingMaskKey).toString(), mask);

    restartWindow();
    EXPECT_EQ(field("renaming")->text(), mask);
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
    EXPECT_EQ(status()->text(), "three");

    // A closed window hears nothing more.
    m_window.reset();
    postStatusChange(this, "after the window");
}

TEST_F(WindowTest, ClearingFilesKeepsAlbumsAndClearingAllKeepsFormsAndMask)
{
    controller().generateNewAlbumEntryForArtist("Artist", "Album", "2001", "Rock", "Label", "3", "1");
    controller().generateNewTrackItem("Song", "Singer");
    listFiles({filePath("b.mp3"), filePath("a.mp3")});
    field("keywords")->setText("some words");
    field("renaming")->setText("%t");
    field("preview")->setText("kept preview");
    field("trackArtist")->setText("Kept Artist");
    field("artist")->setText("Kept form");

    button("clearFilesButton")->click();
    EXPECT_FALSE(controller().songs());
    EXPECT_EQ(view(TableOutlet::fileListView)->model()->rowCount(), 0);
    EXPECT_EQ(controller().resultList()->size(), 1);
    EXPECT_EQ(controller().trackItems()->size(), 1);
    EXPECT_EQ(status()->text(), "Waiting for user input...");

    listFiles({filePath("c.mp3")});
    field("preview")->setText("kept preview");
    postStatusChange(this, "busy");
    button("clearAllButton")->click();
    EXPECT_FALSE(controller().resultList());
    EXPECT_FALSE(controller().trackItems());
    EXPECT_FALSE(controller().songs());
    EXPECT_EQ(field("keywords")->text(), "");
    EXPECT_EQ(status()->text(), "Waiting for user input...");
    EXPECT_EQ(field("renaming")->text(), "%t");
    EXPECT_EQ(field("preview")->text(), "kept preview");
    EXPECT_EQ(field("trackArtist")->text(), "Kept Artist");
    EXPECT_EQ(field("artist")->text(), "Kept form");
}
