#include "search/musicbrainz/MusicBrainzClient.h"

#include "common/JobControl.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "search/musicbrainz/RequestPacer.h"

#include <algorithm>

MusicBrainzClient::MusicBrainzClient(FetchLimits limits, std::chrono::milliseconds interval)
    : m_fetcher(limits, MusicBrainzService::userAgent()), m_interval(interval)
{
}

std::optional<FetchResult> MusicBrainzClient::fetchFromService(const QString &url, JobControl *control)
{
    const RequestPacer::Cancelled cancelled = [control] { return cancelRequested(control); };
    FetchResult result;
    for (int attempt = 1; attempt <= maxTries; ++attempt) {
        if (!RequestPacer::awaitTurn(m_interval, cancelled))
            return std::nullopt;
        result = m_fetcher.fetch(url);
        if (!isBusy(result) || attempt == maxTries)
            break;
        const std::chrono::milliseconds backOff = result.retryAfterSeconds > 0
            ? std::chrono::seconds(std::min<qint64>(result.retryAfterSeconds, maxRetryAfter.count()))
            : std::chrono::seconds(1 << (attempt - 1));
        if (!RequestPacer::pause(backOff, cancelled))
            return std::nullopt;
    }
    return result;
}

FetchResult MusicBrainzClient::fetchCover(const QString &url)
{
    return m_fetcher.fetch(url);
}
