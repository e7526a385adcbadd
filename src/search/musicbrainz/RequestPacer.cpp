#include "search/musicbrainz/RequestPacer.h"

#include "search/musicbrainz/PaceClock.h"

#include <algorithm>

namespace {

constexpr qint64 checkEveryMs = 100;

bool isCancelled(const RequestPacer::Cancelled &cancelled)
{
    return cancelled && cancelled();
}

} // namespace

RequestPacer::RequestPacer(QString paceFilePath, PaceClock &clock)
    : m_file(std::move(paceFilePath)), m_clock(clock)
{
}

RequestPacer &RequestPacer::machineWide()
{
    static RequestPacer pacer(PaceFile::defaultPath(), PaceClock::system());
    return pacer;
}

std::optional<qint64> RequestPacer::claimTurn(qint64 now, qint64 interval)
{
    std::optional<qint64> wait;
    const PaceFile::Claim claim = [&](std::optional<qint64> last) -> std::optional<qint64> {
        if (m_lastStart && (!last || *m_lastStart > *last))
            last = m_lastStart;
        // A time ahead of the interval comes from a clock that was set back since, or a
        // damaged file: waiting for it could take for ever.
        if (last && *last <= now + interval && now < *last + interval) {
            wait = *last + interval - now;
            return std::nullopt;
        }
        m_lastStart = now;
        return now;
    };
    const std::lock_guard lock(m_mutex);
    if (!m_file.update(claim))
        claim(std::nullopt);
    return wait;
}

bool RequestPacer::awaitTurn(std::chrono::milliseconds interval, const Cancelled &cancelled)
{
    for (;;) {
        if (isCancelled(cancelled))
            return false;
        const std::optional<qint64> wait = claimTurn(m_clock.nowMs(), interval.count());
        if (!wait)
            return true;
        m_clock.sleepMs(std::min(*wait, checkEveryMs));
    }
}

bool RequestPacer::pause(std::chrono::milliseconds duration, const Cancelled &cancelled)
{
    const qint64 end = m_clock.nowMs() + duration.count();
    for (qint64 now = m_clock.nowMs(); now < end; now = m_clock.nowMs()) {
        if (isCancelled(cancelled))
            return false;
        m_clock.sleepMs(std::min(end - now, checkEveryMs));
    }
    return !isCancelled(cancelled);
}
