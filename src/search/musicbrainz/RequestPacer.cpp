#include "search/musicbrainz/RequestPacer.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds checkEvery{100};

std::mutex paceMutex;
std::optional<Clock::time_point> lastStart; // guarded by paceMutex

bool isCancelled(const RequestPacer::Cancelled &cancelled)
{
    return cancelled && cancelled();
}

} // namespace

bool RequestPacer::awaitTurn(std::chrono::milliseconds interval, const Cancelled &cancelled)
{
    for (;;) {
        if (isCancelled(cancelled))
            return false;
        Clock::duration wait{};
        {
            const std::lock_guard lock(paceMutex);
            const Clock::time_point now = Clock::now();
            if (!lastStart || now >= *lastStart + interval) {
                lastStart = now;
                return true;
            }
            wait = *lastStart + interval - now;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(wait, checkEvery));
    }
}

bool RequestPacer::pause(std::chrono::milliseconds duration, const Cancelled &cancelled)
{
    const Clock::time_point end = Clock::now() + duration;
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        if (isCancelled(cancelled))
            return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(end - now, checkEvery));
    }
    return !isCancelled(cancelled);
}
