#include "window/AddFilesCommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>

AddFilesCommands::AddFilesCommands(QWidget *window, AddPaths add)
    : QObject(window), m_window(window), m_add(std::move(add))
{
}

void AddFilesCommands::connectFiles(QAction *action, QAbstractButton *button)
{
    connect(action, &QAction::triggered, this, &AddFilesCommands::chooseFiles);
    connect(button, &QAbstractButton::clicked, this, &AddFilesCommands::chooseFiles);
}

void AddFilesCommands::connectFolder(QAction *action, QAbstractButton *button)
{
    connect(action, &QAction::triggered, this, &AddFilesCommands::chooseFolder);
    connect(button, &QAbstractButton::clicked, this, &AddFilesCommands::chooseFolder);
}

void AddFilesCommands::chooseFiles()
{
    choose(false);
}

void AddFilesCommands::chooseFolder()
{
    choose(true);
}

void AddFilesCommands::choose(bool folder)
{
    auto *dialog = new QFileDialog(m_window, folder ? tr("Add folder") : tr("Add files"), m_lastFolder);
    dialog->setObjectName(QStringLiteral("addFilesDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (folder) {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog->setFileMode(QFileDialog::ExistingFiles);
        dialog->setNameFilters({tr("MP3 files (*.mp3 *.MP3)"), tr("All files (*)")});
    }
    connect(dialog, &QFileDialog::filesSelected, this, [this, dialog](const QStringList &paths) {
        m_lastFolder = dialog->directory().absolutePath();
        m_add(paths);
    });
    dialog->open();
}
