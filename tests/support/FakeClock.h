#pragma once

#include "search/musicbrainz/PaceClock.h"

#include <atomic>

// A pace clock that moves only when it is slept on, at once: pacing is tested without
// waiting on the real clock. It counts the time slept.
class FakeClock : public PaceClock {
public:
    explicit FakeClock(qint64 startMs = 1'700'000'000'000) : m_now(startMs) {}
    qint64 nowMs() override { return m_now.load(); }
    void sleepMs(qint64 duration) override
    {
        m_now += duration;
        m_slept += duration;
    }
    void advance(qint64 duration) { m_now += duration; }
    qint64 slept() const { return m_slept.load(); }

private:
    std::atomic<qint64> m_now;
    std::atomic<qint64> m_slept{0};
};
