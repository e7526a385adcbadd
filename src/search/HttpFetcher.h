#pragma once

#include "search/FetchLimits.h"
#include "search/FetchResult.h"

#include <QString>
#include <curl/curl.h>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

// Fetches http and https URLs with libcurl on the calling thread. Transfers are queued and run
// side by side within the limits' connection and byte bounds; connections stay open for the
// fetcher's lifetime and are reused for later requests to the same host. A URL without a host
// is refused before any name look-up. Redirects are followed (a few, to http and https only);
// every request names itself with the fetcher's User-Agent.
class HttpFetcher {
public:
    using TransferId = quint64;
    struct Transfer; // one queued or running transfer, private to the fetcher's source

    explicit HttpFetcher(FetchLimits limits = {}, QByteArray userAgent = QByteArrayLiteral("Tagwright"));
    ~HttpFetcher();
    HttpFetcher(const HttpFetcher &) = delete;
    HttpFetcher &operator=(const HttpFetcher &) = delete;

    // Queues a GET of the URL; it starts as soon as the bounds allow. An urgent transfer is
    // handed back before the others that ended by then.
    TransferId start(const QString &url, bool urgent = false);
    // Sends what can be sent, then hands back a transfer that ended, waiting for one if none
    // has; nothing when none is left, or once `stopWaiting` answers true (asked at least once a
    // second while waiting): the transfers still out then stay with the fetcher.
    std::optional<std::pair<TransferId, FetchResult>> next(const std::function<bool()> &stopWaiting = {});
    // Fetches one URL on its own: start() and next() until it is back.
    FetchResult fetch(const QString &url);

private:
    void startQueued();
    bool launch(Transfer &transfer);
    void collectFinished();
    std::pair<TransferId, FetchResult> takeFinished();

    FetchLimits m_limits;
    QByteArray m_userAgent;
    CURLM *m_multi;
    TransferId m_lastId = 0;
    qint64 m_bytesReserved = 0;
    std::deque<std::unique_ptr<Transfer>> m_queued;
    std::deque<std::unique_ptr<Transfer>> m_running;
    std::deque<std::unique_ptr<Transfer>> m_finished; // their results are set
};
