// What the window keeps and shows around the commands: the mask and the service settings,
// the status line, the lists that clearing empties, and the keyboard mnemonics.
#include "WindowTest.h"

#include "files/MetadataKeys.h"
#include "support/Mp3Fixtures.h"
#include "window/PreferencesDialog.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QSettings>

TEST_F(WindowTest, TheMaskIsStoredOnlyWhenTypedAndCredentialsSavedInThePreferencesLeaveTheDemoCatalogue)
{
    const QSettings settings("Tagwright", "Tagwright");
    field("renaming")->setFocus();
    pressKey(field("renaming"), Qt::Key_Return);
    EXPECT_FALSE(settings.contains(QVRenamingMaskKey)) << "left without typing";
    // Typed key by key, the mask previews as it grows.
    ASSERT_TRUE(Mp3Fixtures::writeTaggedMp3(filePath("tagged.mp3"), {{MetadataKeys::album, "Rec"}, {MetadataKeys::trackNumber, "4"}}));
    listFiles({filePath("tagged.mp3")});
    field("renaming")->clear();
    QStringList previews;
    for (const QChar character : QStringLiteral("%b/%n")) {
        pressKey(field("renaming"), character.toUpper().unicode(), character);
        session().waitForJob();
        previews.append(field("preview")->text());
    }
    EXPECT_EQ(previews, QStringList({"%", "Rec", "Rec/", "Rec/%", "Rec/04"}));
    pressKey(field("renaming"), Qt::Key_Return);
    m_window = std::make_unique<MainWindow>(DemoCatalogue::starter());
    EXPECT_EQ(field("renaming")->text(), "%b/%n");

    // Emptied fields are removed from the settings; without credentials the demo answers for
    // the storefronts, and the title says which source answers.
    EXPECT_TRUE(window().usesDemoCatalogue());
    for (const QString secret : {" secret ", ""}) {
        PreferencesDialog dialog(&window());
        dialog.findChild<QLineEdit *>("Service/AccessKey")->setText("AKIAUSERKEY000000001");
        QLineEdit *secretField = dialog.findChild<QLineEdit *>("Service/SecretKey");
        secretField->setText(secret);
        EXPECT_EQ(secretField->echoMode(), QLineEdit::Password);
        dialog.findChild<QCheckBox *>("showSecretKey")->click();
        EXPECT_EQ(secretField->echoMode(), QLineEdit::Normal);
        dialog.findChild<QLineEdit *>("Service/Host/fr")->setText("catalogue.example:8080");
        dialog.findChild<QLineEdit *>("Service/MusicBrainzURL")->setText("http://127.0.0.1:5000/");
        for (const auto &[control, name] : {std::pair<QWidget *, QString>{dialog.findChild<QCheckBox *>("showSecretKey"), "Show secret key"},
                                            {dialog.findChild<QLineEdit *>("Service/CoverArtURL"), "Cover Art Archive address:"}})
            EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), name);
        dialog.save();
        window().applyServiceConfig();
        EXPECT_EQ(window().windowTitle(), "Tagwright \u2014 MusicBrainz");
        EXPECT_EQ(session().serviceConfig().musicBrainzUrl, "http://127.0.0.1:5000");
        button("storeFrance")->click();
        EXPECT_EQ(window().windowTitle(), secret.isEmpty() ? "Tagwright \u2014 France (demo catalogue)" : "Tagwright \u2014 France");
        button("storeMusicBrainz")->click();
        EXPECT_EQ(session().serviceConfig().secretKey == "secret", !secret.isEmpty());
    }
    EXPECT_FALSE(settings.contains("Service/SecretKey") || settings.contains("Service/Host/de"));
    EXPECT_EQ(settings.value("Service/Host/fr"), "catalogue.example:8080");
}

TEST_F(WindowTest, TheStatusLineShowsEveryStatusLineAndClearingKeepsFormsAndMask)
{
    EXPECT_EQ(status()->text(), "Waiting for user input...");
    const auto say = session().statusSink();
    say("one");
    say("two");
    click("searchButton");   // no keywords: no search
    EXPECT_EQ(takeStatusLines(), QStringList({"one", "two"}));

    addAlbums({"Album"});
    session().addTrack("Song", "Singer");
    listFiles({filePath("b.mp3")});
    click("clearFilesButton");
    EXPECT_TRUE(!session().files() && session().tracks()->size() == 1);
    listFiles({filePath("c.mp3")});
    for (const char *name : {"renaming", "preview", "trackArtist", "artist", "keywords"})
        field(name)->setText(name);
    say("busy");
    click("clearAllButton");
    EXPECT_FALSE(session().albums() || session().tracks() || session().files());
    EXPECT_EQ(status()->text(), "Waiting for user input...");
    session().waitForJob();
    for (const char *name : {"renaming", "preview", "trackArtist", "artist", "keywords"})
        EXPECT_EQ(field(name)->text(), name == QLatin1String("keywords") ? "" : name == QLatin1String("preview") ? "--" : name);
}

TEST_F(WindowTest, EveryMnemonicInTheWindowIsUnique)
{
    // Every button, labelled field, group and menu title the Alt key reaches; an item of a menu
    // needs only to differ from the others of its menu.
    QMultiMap<QString, QString> owners;
    for (QObject *object : window().findChildren<QObject *>()) {
        const auto *label = qobject_cast<QLabel *>(object);
        const auto *action = qobject_cast<QAction *>(object);
        const bool reached = action || qobject_cast<QAbstractButton *>(object) || qobject_cast<QGroupBox *>(object)
            || (label && label->buddy());
        const QString text = object->property(qobject_cast<QGroupBox *>(object) ? "title" : "text").toString();
        QString menu;
        for (const QObject *holder : action ? action->associatedObjects() : QObjectList())
            if (qobject_cast<const QMenu *>(holder))
                menu = holder->objectName() + " ";
        if (reached && !QKeySequence::mnemonic(text).isEmpty())
            owners.insert(menu + QKeySequence::mnemonic(text).toString(), text);
    }
    EXPECT_GE(owners.size(), 25);
    for (const QString &key : owners.uniqueKeys())
        EXPECT_EQ(owners.count(key), 1) << key.toStdString() << ": " << owners.values(key).join(", ").toStdString();
}
