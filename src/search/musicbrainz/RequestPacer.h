#pragma once

#include "search/musicbrainz/PaceFile.h"

#include <QString>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

class PaceClock;

// Spaces out the requests to the MusicBrainz web service for the whole machine: each one
// starts at least the interval after the start of the one before, whichever thread or
// process sends it. The start of the last request is kept in a pace file; while that cannot
// be had, the pacer still spaces out the requests of its own process.
class RequestPacer {
public:
    using Cancelled = std::function<bool()>;

    // Pacers sharing a file pace together, as processes do; tests give their own clock.
    RequestPacer(QString paceFilePath, PaceClock &clock);

    // The one the programs use: the pace file in the user's runtime folder, the real clock.
    static RequestPacer &machineWide();

    // Waits for this request's turn and claims it; false when `cancelled` (asked at least
    // every tenth of a second, may be empty) answers true first, which claims nothing.
    bool awaitTurn(std::chrono::milliseconds interval, const Cancelled &cancelled);
    // Sleeps for the duration; false when `cancelled` answers true first.
    bool pause(std::chrono::milliseconds duration, const Cancelled &cancelled);

private:
    // The wait until this request's turn from `now`, or nothing once the turn is claimed.
    std::optional<qint64> claimTurn(qint64 now, qint64 interval);

    PaceFile m_file;
    PaceClock &m_clock;
    std::mutex m_mutex;
    std::optional<qint64> m_lastStart; // this pacer's own last claim; guarded by m_mutex
};
