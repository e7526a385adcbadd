#pragma once

#include "common/JobRunner.h"
#include "journal/Journal.h"

#include <functional>
#include <memory>

// Reads the undo journal's history on a worker thread of its own, beside the session's jobs,
// so that the window never waits for the journal's folder. A request made while one is under
// way is read once that one has ended.
class HistoryReader {
public:
    using Finished = std::function<void(const QList<EntryFile::Contents> &history)>;

    explicit HistoryReader(Finished finished);

    void read(const Journal &journal);
    void waitForFinished();

private:
    void finished();

    Finished m_finished;
    std::optional<Journal> m_waiting;
    std::shared_ptr<QList<EntryFile::Contents>> m_history;
    JobRunner m_runner;
};
