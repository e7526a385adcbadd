#pragma once

#include "search/FetchLimits.h"
#include "search/FetchResult.h"
#include "search/HttpFetcher.h"

#include <QString>
#include <chrono>
#include <functional>
#include <optional>

class JobControl;
class RequestPacer;

// Fetches from the MusicBrainz web service the way it asks clients to: one request at a time,
// paced machine-wide (RequestPacer), each with Tagwright's User-Agent, and a busy answer (503)
// tried again after the wait it asks for (capped), else after 1, 2, 4... seconds, three tries
// in all. Cover Art Archive fetches carry the User-Agent but are not paced or retried.
class MusicBrainzClient {
public:
    // The pacer is the machine's unless a test hands in one of its own.
    explicit MusicBrainzClient(FetchLimits limits = {}, std::chrono::milliseconds interval = defaultInterval,
                               RequestPacer *pacer = nullptr);

    // The last answer or failure; nothing once the control is cancelled, checked before each
    // request and while waiting.
    std::optional<FetchResult> fetchFromService(const QString &url, JobControl *control);
    FetchResult fetchCover(const QString &url);

    // Whether the result is the service saying it is too busy, after every try.
    static bool isBusy(const FetchResult &result) { return result.httpStatus == 503; }

    // A tenth over the service's one second: the service measures from arrival to arrival,
    // and a request that reuses a connection, or finds the service less busy, arrives sooner
    // after its start than the one before it may have.
    static constexpr std::chrono::milliseconds defaultInterval{1100};
    static constexpr int maxTries = 3;
    static constexpr std::chrono::seconds maxRetryAfter{10};

private:
    // The answer, or nothing once `cancelled` answers true while waiting for it.
    std::optional<FetchResult> fetchUnlessCancelled(const QString &url, const std::function<bool()> &cancelled);

    HttpFetcher m_fetcher;
    std::chrono::milliseconds m_interval;
    RequestPacer &m_pacer;
};
