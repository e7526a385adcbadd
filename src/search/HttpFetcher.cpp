#include "search/HttpFetcher.h"

#include <memory>
#include <mutex>

namespace {

// One transfer in flight: its easy handle and the body received so far.
struct Transfer {
    CURL *easy = nullptr;
    QByteArray body;
    qint64 maxBodyBytes = 0;
    bool done = false;
    bool succeeded = false;
};

size_t receiveBody(char *data, size_t size, size_t count, void *userData)
{
    auto *transfer = static_cast<Transfer *>(userData);
    const size_t bytes = size * count;
    // Returning less than was handed over aborts the transfer: a body past the cap fails.
    if (transfer->body.size() + qint64(bytes) > transfer->maxBodyBytes)
        return 0;
    transfer->body.append(data, qsizetype(bytes));
    return bytes;
}

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

HttpFetcher::HttpFetcher(FetchLimits limits) : m_limits(limits)
{
    initialiseCurlOnce();
    m_multi = curl_multi_init();
}

HttpFetcher::~HttpFetcher()
{
    if (m_multi)
        curl_multi_cleanup(m_multi);
}

std::optional<QByteArray> HttpFetcher::fetch(const QString &url)
{
    return fetchAll({url}).front();
}

std::vector<std::optional<QByteArray>> HttpFetcher::fetchAll(const QStringList &urls)
{
    std::vector<std::optional<QByteArray>> results(size_t(urls.size()));
    if (!m_multi || urls.isEmpty())
        return results;

    std::vector<std::unique_ptr<Transfer>> transfers;
    for (const QString &url : urls) {
        auto transfer = std::make_unique<Transfer>();
        transfer->maxBodyBytes = m_limits.maxBodyBytes;
        transfer->easy = curl_easy_init();
        CURL *easy = transfer->easy;
        if (easy) {
            const QByteArray address = url.toUtf8();
            curl_easy_setopt(easy, CURLOPT_URL, address.constData()); // libcurl copies the text
            // Only the web's own schemes: an answer must never make us read a file or talk
            // another protocol, also not through a redirect.
            curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
            curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
            curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
            curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(m_limits.connectTimeout.count()));
            curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(m_limits.totalTimeout.count()));
            curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(m_limits.maxBodyBytes));
            curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(easy, CURLOPT_USERAGENT, "Tagwright");
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, receiveBody);
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
            curl_easy_setopt(easy, CURLOPT_PRIVATE, transfer.get());
            if (curl_multi_add_handle(m_multi, easy) != CURLM_OK) {
                curl_easy_cleanup(easy);
                transfer->easy = nullptr;
            }
        }
        transfers.push_back(std::move(transfer));
    }

    int running = 0;
    for (;;) {
        if (curl_multi_perform(m_multi, &running) != CURLM_OK)
            break;
        int queued = 0;
        while (CURLMsg *message = curl_multi_info_read(m_multi, &queued)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            Transfer *transfer = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
            long status = 0;
            curl_easy_getinfo(message->easy_handle, CURLINFO_RESPONSE_CODE, &status);
            transfer->done = true;
            transfer->succeeded = message->data.result == CURLE_OK && status >= 200 && status < 300;
        }
        if (running == 0)
            break;
        if (curl_multi_poll(m_multi, nullptr, 0, 1000, nullptr) != CURLM_OK)
            break;
    }

    for (size_t i = 0; i < transfers.size(); ++i) {
        Transfer &transfer = *transfers[i];
        if (!transfer.easy)
            continue;
        // Removing the handle hands its connection back to the multi handle's cache.
        curl_multi_remove_handle(m_multi, transfer.easy);
        curl_easy_cleanup(transfer.easy);
        if (transfer.done && transfer.succeeded)
            results[i] = std::move(transfer.body);
    }
    return results;
}
