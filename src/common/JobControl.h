#pragma once

#include <QtGlobal>
#include <atomic>
#include <functional>

// What a long operation is handed by whoever runs it: a cancel request it checks between its
// units of work (any thread may request it), and the place it reports how far it has come.
// An operation stops at its next check once cancelled; what it finished stays finished.
class JobControl {
public:
    // Told of every progress report, on the operation's thread.
    using ProgressHandler = std::function<void(qint64 done, qint64 total)>;

    JobControl() = default;
    explicit JobControl(ProgressHandler onProgress) : m_onProgress(std::move(onProgress)) {}
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
    qint64 done() const { return m_done.load(); }
    qint64 total() const { return m_total.load(); }

private:
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
    ProgressHandler m_onProgress;
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
