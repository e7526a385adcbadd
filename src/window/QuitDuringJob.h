#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QMessageBox;
class QWidget;

// Keeps the window from closing under a running job: closing then asks "Cancel the running
// job and quit?"; on yes the job is cancelled as Cancel does it (the file at hand is finished,
// every file stays whole) and the window closes once the job has ended.
class QuitDuringJob : public QObject {
public:
    QuitDuringJob(QWidget *window, std::function<bool()> jobRunning, std::function<void()> cancelJob);

    // Whether the window may close now; when not, the question is on screen (asked once).
    bool allowsClose();
    // To be told when a job has ended: a quit the user confirmed goes ahead then.
    void jobEnded();

private:
    void ask();

    QWidget *m_window;
    std::function<bool()> m_jobRunning;
    std::function<void()> m_cancelJob;
    QPointer<QMessageBox> m_question;
    bool m_quitConfirmed = false;
};
