#pragma once

#include <QtGlobal>

// The time the request pacer reads and the waiting it does, in one object, so that a test can
// hand in a clock of its own that moves only when the pacer waits.
class PaceClock {
public:
    virtual ~PaceClock() = default;
    // Milliseconds since the epoch: a time every process on the machine reads alike.
    virtual qint64 nowMs() = 0;
    virtual void sleepMs(qint64 duration) = 0;

    // The machine's clock, sleeping for real.
    static PaceClock &system();
};
