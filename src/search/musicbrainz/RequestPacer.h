#pragma once

#include <chrono>
#include <functional>

// Spaces out the requests to the MusicBrainz web service for the whole process: each one
// starts at least the interval after the start of the one before, whichever thread sends it.
class RequestPacer {
public:
    using Cancelled = std::function<bool()>;

    // Waits for this request's turn and claims it; false when `cancelled` (asked at least
    // every tenth of a second, may be empty) answers true first, which claims nothing.
    static bool awaitTurn(std::chrono::milliseconds interval, const Cancelled &cancelled);
    // Sleeps for the duration; false when `cancelled` answers true first.
    static bool pause(std::chrono::milliseconds duration, const Cancelled &cancelled);
};
