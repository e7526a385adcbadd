#pragma once

#include "common/JobControl.h"

#include <QObject>
#include <functional>
#include <memory>
#include <thread>

// Runs one long operation at a time on a worker thread, so the thread that owns the runner
// (the window's) stays responsive. Progress and the end of the job reach the owner's thread
// as queued signals; status lines are signalled on the worker as the job gives them out, so a
// receiver on the owner's thread takes them queued (the default across threads). All come in
// the order the job produced them; the runner counts as busy until finished() has been
// delivered.
class JobRunner : public QObject {
    Q_OBJECT
public:
    using Job = std::function<void(JobControl &control)>;

    explicit JobRunner(QObject *parent = nullptr);
    // Cancels the running job and waits for it to stop.
    ~JobRunner() override;

    // Starts the job on the worker; false, and nothing started, while another one is busy.
    bool start(Job job);
    bool isBusy() const { return m_busy; }
    // Asks the running job to stop at its next check; nothing without one.
    void cancel();
    // Blocks until the running job has returned, then delivers its pending progress, status
    // and finished() on this thread, so the runner is idle afterwards. Closing the window
    // calls cancel() first, so that this waits only for the current unit of work.
    void waitForFinished();

signals:
    void progressChanged(qint64 done, qint64 total);
    // On the worker thread.
    void statusReported(const QString &line);
    void finished();

private:
    void joinWorker();

    bool m_busy = false;                   // touched on the owner's thread only
    std::shared_ptr<JobControl> m_control; // the running job's, shared with the worker
    std::thread m_worker;
};
