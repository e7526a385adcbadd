#pragma once

#include <QtGlobal>
#include <chrono>

// Bounds on the fetches of one fetcher: a silent or endless server must never hold the search
// for long or fill the memory. A fetch that passes a bound counts as failed.
struct FetchLimits {
    std::chrono::milliseconds connectTimeout{10'000};
    std::chrono::milliseconds totalTimeout{30'000};
    qint64 maxBodyBytes = 4 * 1024 * 1024;   // one answer
    // All header lines of one answer; libcurl itself refuses a single line over 100 KiB.
    qint64 maxHeaderBytes = 100 * 1024;
    // Transfers start only while the body bounds of those not yet handed back stay within
    // this, so the bodies held at once never pass it (one transfer always may run).
    qint64 maxBytesHeld = 64 * 1024 * 1024;
    long maxConnectionsPerHost = 6;
    long maxConnections = 16;
};
