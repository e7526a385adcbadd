#include "search/musicbrainz/PaceClock.h"

#include <chrono>
#include <thread>

namespace {

class SystemClock : public PaceClock {
public:
    qint64 nowMs() override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
    void sleepMs(qint64 duration) override { std::this_thread::sleep_for(std::chrono::milliseconds(duration)); }
};

} // namespace

PaceClock &PaceClock::system()
{
    static SystemClock clock;
    return clock;
}
