#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAbstractButton;
class QAction;
class QWidget;

// Adding files from inside the window: File > Add files… (Ctrl+O) and Add folder…, and the
// buttons of the same names beside the file table. Each opens the standard file dialog
// (window-modal, without a nested event loop) and hands what was chosen to the same place a
// drop on the file table goes.
class AddFilesCommands : public QObject {
public:
    using AddPaths = std::function<void(const QStringList &paths)>;

    AddFilesCommands(QWidget *window, AddPaths add);

    // Each trigger opens its dialog.
    void connectFiles(QAction *action, QAbstractButton *button);
    void connectFolder(QAction *action, QAbstractButton *button);

    void chooseFiles();
    void chooseFolder();

private:
    void choose(bool folder);

    QWidget *m_window;
    AddPaths m_add;
    QString m_lastFolder; // where the next dialog opens: where the last one ended
};
