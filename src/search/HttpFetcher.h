#pragma once

#include "search/FetchLimits.h"

#include <QByteArray>
#include <QStringList>
#include <curl/curl.h>
#include <optional>
#include <vector>

// Fetches http and https URLs with libcurl on the calling thread. Connections stay open for
// the fetcher's lifetime and are reused for later requests to the same host; the URLs of one
// call are fetched concurrently.
class HttpFetcher {
public:
    explicit HttpFetcher(FetchLimits limits = {});
    ~HttpFetcher();
    HttpFetcher(const HttpFetcher &) = delete;
    HttpFetcher &operator=(const HttpFetcher &) = delete;

    // The body of a successful (2xx) answer within the limits, or nothing.
    std::optional<QByteArray> fetch(const QString &url);
    // The same for each URL, in the order given.
    std::vector<std::optional<QByteArray>> fetchAll(const QStringList &urls);

private:
    FetchLimits m_limits;
    CURLM *m_multi;
};
