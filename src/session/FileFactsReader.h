#pragma once

#include "common/JobRunner.h"
#include "session/FileFacts.h"

#include <functional>
#include <optional>

// Reads the facts of the listed files on a worker thread of its own, beside the session's
// jobs, so that typing a mask or dropping files never waits for the files. A newer request
// supersedes the one under way: that one is cancelled and its facts dropped.
class FileFactsReader {
public:
    using Finished = std::function<void(const FileFacts &facts)>;

    explicit FileFactsReader(Finished finished);

    void read(const QStringList &files, const QString &mask);
    // Blocks until the facts last asked for are read and handed over.
    void waitForFinished();

private:
    struct Request {
        QStringList files;
        QString mask;
    };
    void startWaiting();
    void finished();

    Finished m_finished;
    std::optional<Request> m_waiting;
    std::shared_ptr<FileFacts> m_facts;
    JobRunner m_runner;
};
