#pragma once

#include <QtGlobal>
#include <chrono>

// Bounds on one HTTP fetch: a silent or endless server must never hold the search for long
// or fill the memory. A fetch that passes a bound counts as failed.
struct FetchLimits {
    std::chrono::milliseconds connectTimeout{10'000};
    std::chrono::milliseconds totalTimeout{30'000};
    qint64 maxBodyBytes = 16 * 1024 * 1024;
};
