#include "WindowTest.h"

#include <QGroupBox>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMultiMap>

namespace {

// Adds the control's Alt+letter, if its text has one, to the scope's map.
void note(QMultiMap<QString, QString> &scope, const QString &text)
{
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    if (!mnemonic.isEmpty())
        scope.insert(mnemonic.toString(), text);
}

// Fails naming every Alt+letter that two controls of one scope share.
void expectUnique(const QMultiMap<QString, QString> &scope)
{
    for (const QString &key : scope.uniqueKeys())
        EXPECT_EQ(scope.count(key), 1) << key.toStdString() << ": " << scope.values(key).join(", ").toStdString();
}

} // namespace

TEST_F(WindowTest, EveryMnemonicIsUniqueInItsScope)
{
    // Alt+letter reaches every button, labelled field, group and menu-bar title of the
    // window; a menu's own entries answer letters only while it is open.
    QMultiMap<QString, QString> windowScope;
    for (QWidget *widget : window().findChildren<QWidget *>()) {
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            note(windowScope, button->text());
        else if (auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
            note(windowScope, label->text());
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            note(windowScope, group->title());
    }
    for (QAction *action : window().menuBar()->actions()) {
        note(windowScope, action->text());
        if (action->menu()) {
            QMultiMap<QString, QString> menuScope;
            for (QAction *entry : action->menu()->actions())
                note(menuScope, entry->text());
            expectUnique(menuScope);
        }
    }
    EXPECT_GE(windowScope.size(), 15);
    expectUnique(windowScope);
}
