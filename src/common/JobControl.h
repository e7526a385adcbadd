#pragma once

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <functional>

// What a long operation is handed by whoever runs it: a cancel request it checks between its
// units of work (any thread may request it), and the places it reports how far it has come
// and the status lines it gives out, which whoever runs it takes where they are shown.
// An operation stops at its next check once cancelled; what it finished stays finished.
class JobControl {
public:
    // Told of every progress report, on the operation's thread.
    using ProgressHandler = std::function<void(qint64 done, qint64 total)>;
    // Told of every status line, on the operation's thread.
    using StatusHandler = std::function<void(const QString &line)>;

    explicit JobControl(ProgressHandler onProgress = {}, StatusHandler onStatus = {})
        : m_onProgress(std::move(onProgress)), m_onStatus(std::move(onStatus))
    {
    }
    JobControl(const JobControl &) = delete;
    JobControl &operator=(const JobControl &) = delete;

    void requestCancel() { m_cancelRequested.store(true); }
    bool cancelRequested() const { return m_cancelRequested.load(); }

    // Units done of total; a total of 0 means the total is not known yet.
    void reportProgress(qint64 done, qint64 total)
    {
        m_done.store(done);
        m_total.store(total);
        if (m_onProgress)
            m_onProgress(done, total);
    }
    void reportStatus(const QString &line)
    {
        if (m_onStatus)
            m_onStatus(line);
    }
    qint64 done() const { return m_done.load(); }
    qint64 total() const { return m_total.load(); }

private:
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
    ProgressHandler m_onProgress;
    StatusHandler m_onStatus;
};

// For operations whose caller may hand in no control (null): never cancelled, reports go nowhere.
inline bool cancelRequested(const JobControl *control)
{
    return control && control->cancelRequested();
}
inline void reportProgress(JobControl *control, qint64 done, qint64 total)
{
    if (control)
        control->reportProgress(done, total);
}
inline void reportStatus(JobControl *control, const QString &line)
{
    if (control)
        control->reportStatus(line);
}
