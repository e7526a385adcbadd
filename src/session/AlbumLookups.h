#pragma once

#include "common/JobRunner.h"
#include "search/musicbrainz/LookupOutcome.h"
#include "session/Session.h"

#include <functional>
#include <memory>
#include <optional>

// Looks chosen albums up on a worker thread of their own, beside the session's jobs, so the
// user can go on choosing albums while a look-up waits for the service. A newer look-up
// supersedes the one under way: that one is cancelled and its result dropped.
class AlbumLookups {
public:
    // Called on the owner's thread with each look-up that was not superseded.
    using Finished = std::function<void(const std::shared_ptr<ResultEntry> &album, const LookupOutcome &outcome)>;

    explicit AlbumLookups(Finished finished);

    JobRunner &runner() { return m_runner; }
    // Looks the album up with this work, once the look-up under way (if any) has stopped.
    void lookUp(std::shared_ptr<ResultEntry> album, Session::Work<LookupOutcome> work);
    bool isBusy() const { return m_runner.isBusy(); }
    // Whether this album's look-up is under way or waiting, and not superseded.
    bool isLookingUp(const ResultEntry *album) const;
    // Runs `then` once no look-up is under way or waiting: at once when none is, else after
    // the last one's Finished. A later call replaces an earlier one not yet run.
    void whenIdle(std::function<void()> then);
    // Cancels the look-up under way and drops the waiting one; their results go nowhere.
    void cancelAll();
    // Blocks until the look-up under way has returned and its result is handed over.
    void waitForFinished() { m_runner.waitForFinished(); }

private:
    struct Request {
        std::shared_ptr<ResultEntry> album;
        Session::Work<LookupOutcome> work;
    };
    void startWaiting();
    void finished();

    Finished m_finished;
    std::optional<Request> m_waiting;
    std::shared_ptr<ResultEntry> m_running;
    std::shared_ptr<LookupOutcome> m_outcome;
    bool m_superseded = false;
    std::function<void()> m_whenIdle;
    // Last, so that it goes first: a running look-up stops and is waited for.
    JobRunner m_runner;
};
