#include "window/UndoCommands.h"

#include "session/Session.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

UndoCommands::UndoCommands(Session &session, QAction *undo, QAction *history, QWidget *window)
    : QObject(window), m_session(session), m_undo(undo), m_window(window)
{
    connect(undo, &QAction::triggered, this, [this] { m_session.undoLast(); });
    connect(history, &QAction::triggered, this, &UndoCommands::showHistory);
    connect(&session, &Session::historyChanged, this, [this] {
        update();
        fillHistory();
    });
    connect(&session, &Session::jobRunningChanged, this, &UndoCommands::update);
    update();
}

void UndoCommands::update()
{
    const QString text = m_session.undoText();
    m_undo->setText(text.isEmpty() ? tr("&Undo") : text);
    m_undo->setEnabled(!text.isEmpty() && !m_session.isBusy());
}

void UndoCommands::showHistory()
{
    if (m_dialog)
        return m_dialog->raise();
    m_dialog = new QDialog(m_window);
    m_dialog->setObjectName(QStringLiteral("history"));
    m_dialog->setWindowTitle(tr("History"));
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto *label = new QLabel(tr("Operations, newest first:"), m_dialog);
    m_table = new QTableWidget(0, 4, m_dialog);
    m_table->setHorizontalHeaderLabels({tr("When"), tr("What"), tr("Files"), tr("Undone")});
    label->setBuddy(m_table);
    m_table->setAccessibleName(label->text());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, m_dialog);
    connect(buttons, &QDialogButtonBox::rejected, m_dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(m_dialog);
    layout->addWidget(label);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    m_dialog->resize(520, 360);
    fillHistory();
    m_dialog->open();
    m_session.readHistory();
}

void UndoCommands::fillHistory()
{
    if (!m_dialog)
        return;
    const QList<EntryFile::Contents> &history = m_session.history();
    m_table->setRowCount(int(history.size()));
    for (int row = 0; row < history.size(); ++row) {
        const EntryFile::Contents &entry = history.at(row);
        const QStringList cells{QLocale().toString(entry.when.toLocalTime(), QLocale::ShortFormat), entry.what,
                                QString::number(entry.changes), entry.undone ? tr("Undone") : QString()};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    m_table->resizeColumnsToContents();
}
