#pragma once

#include "search/FetchLimits.h"
#include "search/FetchResult.h"
#include "search/HttpFetcher.h"

#include <QString>
#include <chrono>
#include <optional>

class JobControl;

// Fetches from the MusicBrainz web service the way it asks clients to: one request at a time,
// paced process-wide (RequestPacer), each with Tagwright's User-Agent, and a busy answer (503)
// tried again after the wait it asks for (capped), else after 1, 2, 4... seconds, three tries
// in all. Cover Art Archive fetches carry the User-Agent but are not paced or retried.
class MusicBrainzClient {
public:
    explicit MusicBrainzClient(FetchLimits limits = {}, std::chrono::milliseconds interval = defaultInterval);

    // The last answer or failure; nothing once the control is cancelled, checked before each
    // request and while waiting.
    std::optional<FetchResult> fetchFromService(const QString &url, JobControl *control);
    FetchResult fetchCover(const QString &url);

    // Whether the result is the service saying it is too busy, after every try.
    static bool isBusy(const FetchResult &result) { return result.httpStatus == 503; }

    // A little over the service's one second: the service measures from arrival to arrival,
    // and a request that reuses a connection arrives sooner after its start than one that
    // had to open it.
    static constexpr std::chrono::milliseconds defaultInterval{1050};
    static constexpr int maxTries = 3;
    static constexpr std::chrono::seconds maxRetryAfter{10};

private:
    HttpFetcher m_fetcher;
    std::chrono::milliseconds m_interval;
};
