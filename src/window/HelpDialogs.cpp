#include "window/HelpDialogs.h"

#include "common/LibraryVersions.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A control's label as read out: without the mnemonic's "&" and the trailing colon or "…".
QString plainLabel(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    while (text.endsWith(u':') || text.endsWith(u'…') || text.endsWith(u'.'))
        text.chop(1);
    return text;
}

// Keys and what they do, in the order a user meets them: menu shortcuts, the fixed keys,
// then each Alt+letter.
QList<std::pair<QString, QString>> shortcutsOf(const QWidget *window)
{
    QList<std::pair<QString, QString>> rows;
    for (const QAction *action : window->findChildren<QAction *>()) {
        if (!action->shortcut().isEmpty())
            rows.append({action->shortcut().toString(QKeySequence::NativeText), plainLabel(action->text())});
    }
    rows.append({QObject::tr("Return (in Keywords)"), QObject::tr("Search")});
    rows.append({QObject::tr("Delete, Backspace"), QObject::tr("Remove the selected rows of the focused table")});
    rows.append({QObject::tr("Tab, Shift+Tab"), QObject::tr("Next, previous control")});

    QMap<QString, QString> mnemonics;
    for (const QObject *object : window->findChildren<QObject *>()) {
        const auto *label = qobject_cast<const QLabel *>(object);
        const auto *group = qobject_cast<const QGroupBox *>(object);
        const auto *menu = qobject_cast<const QMenu *>(object);
        QString text;
        if (qobject_cast<const QAbstractButton *>(object) || (label && label->buddy()))
            text = object->property("text").toString();
        else if (group || menu)
            text = object->property("title").toString();
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty())
            mnemonics.insert(key.toString(QKeySequence::NativeText), plainLabel(text) + (menu ? QObject::tr(" menu") : QString()));
    }
    for (auto it = mnemonics.cbegin(); it != mnemonics.cend(); ++it)
        rows.append({it.key(), it.value()});
    return rows;
}

} // namespace

void HelpDialogs::showAbout(QWidget *window)
{
    auto *box = new QMessageBox(QMessageBox::Information, QObject::tr("About Tagwright"),
                                QObject::tr("Tagwright %1").arg(LibraryVersions::application()), QMessageBox::Close, window);
    box->setObjectName(QStringLiteral("about"));
    box->setInformativeText(QObject::tr("Tags and renames MP3 files with album information found in online catalogues "
                                        "(MusicBrainz with the Cover Art Archive, and product-catalogue storefronts).\n\n"
                                        "Libraries used: %1.")
                                .arg(LibraryVersions::libraries().join(QStringLiteral(", "))));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void HelpDialogs::showKeyboardShortcuts(QWidget *window)
{
    auto *dialog = new QDialog(window);
    dialog->setObjectName(QStringLiteral("keyboardShortcuts"));
    dialog->setWindowTitle(QObject::tr("Keyboard shortcuts"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const QList<std::pair<QString, QString>> rows = shortcutsOf(window);
    auto *table = new QTableWidget(int(rows.size()), 2, dialog);
    table->setHorizontalHeaderLabels({QObject::tr("Keys"), QObject::tr("Does")});
    table->setAccessibleName(dialog->windowTitle());
    for (int row = 0; row < rows.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(rows[row].first));
        table->setItem(row, 1, new QTableWidgetItem(rows[row].second));
    }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    dialog->resize(480, 420);
    dialog->open();
}
