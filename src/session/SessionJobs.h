#pragma once

#include "common/JobRunner.h"
#include "session/Session.h"

#include <functional>
#include <memory>

// Runs the session's long operations one at a time on a worker thread and hands each result
// to its finish function on the owner's thread once the job has ended.
class SessionJobs {
public:
    // showRunning(true) as a job starts; showRunning(false) once it ended, before its finish.
    explicit SessionJobs(std::function<void(bool running)> showRunning);

    JobRunner &runner() { return m_runner; }
    bool isBusy() const { return m_runner.isBusy(); }

    template <typename Result>
    void start(Session::Work<Result> work, std::function<void(const Result &)> finish)
    {
        auto result = std::make_shared<Result>();
        m_finish = [result, finish = std::move(finish)] { finish(*result); };
        m_showRunning(true);
        m_runner.start([result, work = std::move(work)](JobControl &control) { *result = work(control); });
    }

private:
    void finished();

    std::function<void(bool)> m_showRunning;
    std::function<void()> m_finish;
    // Last, so that it goes first: a running job stops and is waited for; its result goes nowhere.
    JobRunner m_runner;
};
