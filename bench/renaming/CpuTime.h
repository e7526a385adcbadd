#pragma once

#include <ctime>

// Time this process spent on a processor, user and system: unlike the wall clock, it does
// not grow when other work on the machine takes the processors away.
inline double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}
