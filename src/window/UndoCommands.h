#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QDialog;
class QTableWidget;
class QWidget;
class Session;

// The Edit menu's Undo and History: Undo names what it takes back ("Undo Tag files (12
// files)") and runs it as a session job; History lists the journal's operations, newest
// first, and follows each change of it while open.
class UndoCommands : public QObject {
    Q_OBJECT
public:
    UndoCommands(Session &session, QAction *undo, QAction *history, QWidget *window);

    void showHistory();

private:
    void update();
    void fillHistory();

    Session &m_session;
    QAction *m_undo;
    QWidget *m_window;
    QPointer<QDialog> m_dialog;
    QTableWidget *m_table = nullptr;   // the open History's
};
