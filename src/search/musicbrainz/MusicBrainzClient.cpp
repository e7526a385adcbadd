#include "search/musicbrainz/MusicBrainzClient.h"

#include "common/JobControl.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "search/musicbrainz/RequestPacer.h"

#include <algorithm>

MusicBrainzClient::MusicBrainzClient(FetchLimits limits, std::chrono::milliseconds interval, RequestPacer *pacer)
    : m_fetcher(limits, MusicBrainzService::userAgent()), m_interval(interval),
      m_pacer(pacer ? *pacer : RequestPacer::machineWide())
{
}

std::optional<FetchResult> MusicBrainzClient::fetchFromService(const QString &url, JobControl *control)
{
    const RequestPacer::Cancelled cancelled = [control] { return cancelRequested(control); };
    FetchResult result;
    for (int attempt = 1; attempt <= maxTries; ++attempt) {
        if (!m_pacer.awaitTurn(m_interval, cancelled))
            return std::nullopt;
        std::optional<FetchResult> answer = fetchUnlessCancelled(url, cancelled);
        if (!answer)
            return std::nullopt;
        result = std::move(*answer);
        if (!isBusy(result) || attempt == maxTries)
            break;
        const std::chrono::milliseconds backOff = result.retryAfterSeconds > 0
            ? std::chrono::seconds(std::min<qint64>(result.retryAfterSeconds, maxRetryAfter.count()))
            : std::chrono::seconds(1 << (attempt - 1));
        if (!m_pacer.pause(backOff, cancelled))
            return std::nullopt;
    }
    return result;
}

std::optional<FetchResult> MusicBrainzClient::fetchUnlessCancelled(const QString &url,
                                                                  const std::function<bool()> &cancelled)
{
    const HttpFetcher::TransferId id = m_fetcher.start(url);
    // A cancel ends the wait within a second; the transfer is then left to the fetcher.
    while (std::optional<std::pair<HttpFetcher::TransferId, FetchResult>> done = m_fetcher.next(cancelled)) {
        if (done->first == id)
            return std::move(done->second);
    }
    return std::nullopt;
}

FetchResult MusicBrainzClient::fetchCover(const QString &url)
{
    return m_fetcher.fetch(url);
}
