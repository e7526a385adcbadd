#include "search/HttpFetcher.h"

#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

struct HttpFetcher::Transfer {
    TransferId id = 0;
    QString url;
    CURL *easy = nullptr;
    CURLU *parsedUrl = nullptr;
    QByteArray body;
    qint64 maxBodyBytes = 0;
    qint64 maxHeaderBytes = 0;
    qint64 headerBytes = 0;
    bool overflowed = false;
    bool headerOverflowed = false;
    bool urgent = false;
    FetchResult result;

    ~Transfer()
    {
        if (easy)
            curl_easy_cleanup(easy);
        if (parsedUrl)
            curl_url_cleanup(parsedUrl);
    }
};

namespace {

size_t receiveBody(char *data, size_t size, size_t count, void *userData)
{
    auto *transfer = static_cast<HttpFetcher::Transfer *>(userData);
    const size_t bytes = size * count;
    // Returning less than was handed over aborts the transfer: a body past the cap fails.
    if (transfer->body.size() + qint64(bytes) > transfer->maxBodyBytes) {
        transfer->overflowed = true;
        return 0;
    }
    transfer->body.append(data, qsizetype(bytes));
    return bytes;
}

size_t receiveHeader(char *, size_t size, size_t count, void *userData)
{
    auto *transfer = static_cast<HttpFetcher::Transfer *>(userData);
    const size_t bytes = size * count;
    // Returning less aborts the transfer: libcurl keeps every header line for its own use,
    // so endless small ones would fill the memory as a body could.
    transfer->headerBytes += qint64(bytes);
    if (transfer->headerBytes > transfer->maxHeaderBytes) {
        transfer->headerOverflowed = true;
        return 0;
    }
    return bytes;
}

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

QString withoutBrackets(QString host)
{
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    return host;
}

bool sameHostName(const QString &curlHost, const QUrl &strict)
{
    return curlHost.compare(strict.host(), Qt::CaseInsensitive) == 0
           || curlHost.compare(strict.host(QUrl::FullyEncoded), Qt::CaseInsensitive) == 0;
}

// libcurl's parse of the URL, only when it names the same, non-empty host as a strict reading
// of the URL does. libcurl alone reads "http:///onca/x" as host "onca", which would send a
// request meant for no host to whatever that name resolves to.
CURLU *parseWithHost(const QString &url)
{
    const QUrl strict(url, QUrl::StrictMode);
    if (!strict.isValid() || strict.host().isEmpty())
        return nullptr;
    CURLU *parsed = curl_url();
    char *host = nullptr;
    const QByteArray text = url.toUtf8();
    const bool sameHost = parsed && curl_url_set(parsed, CURLUPART_URL, text.constData(), 0) == CURLUE_OK
                          && curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK
                          && sameHostName(withoutBrackets(QString::fromUtf8(host)), strict);
    curl_free(host);
    if (!sameHost) {
        curl_url_cleanup(parsed);
        return nullptr;
    }
    return parsed;
}

FetchResult failed(FetchFailure failure, QString detail = {}, qint64 boundBytes = 0)
{
    FetchResult result;
    result.failure = failure;
    result.detail = std::move(detail);
    result.boundBytes = boundBytes;
    return result;
}

// libcurl refuses a single header line past its own bound (100 KiB) as if memory had run
// out, without a word in its error buffer: such a failure after the status line and before
// any of the body is taken for that.
bool headerLineTooLarge(CURLcode code, const HttpFetcher::Transfer &transfer)
{
    return code == CURLE_OUT_OF_MEMORY && transfer.headerBytes > 0 && transfer.body.isEmpty();
}

FetchResult resultOfTransfer(CURLcode code, CURL *easy, HttpFetcher::Transfer &transfer)
{
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (transfer.overflowed || code == CURLE_FILESIZE_EXCEEDED)
        return failed(FetchFailure::TooLarge, {}, transfer.maxBodyBytes);
    if (transfer.headerOverflowed || headerLineTooLarge(code, transfer))
        return failed(FetchFailure::HeaderTooLarge, {}, transfer.maxHeaderBytes);
    switch (code) {
    case CURLE_OK:
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        return failed(FetchFailure::NameLookup);
    case CURLE_COULDNT_CONNECT: {
        long osError = 0;
        curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osError);
        if (osError == ECONNREFUSED)
            return failed(FetchFailure::ConnectionRefused);
        return failed(FetchFailure::CouldNotConnect,
                      osError ? QString::fromLocal8Bit(std::strerror(int(osError))) : QString());
    }
    case CURLE_OPERATION_TIMEDOUT:
        return failed(FetchFailure::TimedOut);
    default:
        return failed(FetchFailure::Transfer, QString::fromUtf8(curl_easy_strerror(code)));
    }
    FetchResult result;
    result.httpStatus = status;
    result.body = std::move(transfer.body);
    // libcurl reads both forms of the header (seconds, or a date it turns into seconds).
    curl_off_t retryAfter = 0;
    if (curl_easy_getinfo(easy, CURLINFO_RETRY_AFTER, &retryAfter) == CURLE_OK && retryAfter > 0)
        result.retryAfterSeconds = qint64(retryAfter);
    if (status < 200 || status >= 300)
        result.failure = FetchFailure::HttpStatus;
    return result;
}

FetchResult resultOf(CURLcode code, CURL *easy, HttpFetcher::Transfer &transfer)
{
    FetchResult result = resultOfTransfer(code, easy, transfer);
    long redirects = 0;
    char *effectiveUrl = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_REDIRECT_COUNT, &redirects) == CURLE_OK && redirects > 0
        && curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effectiveUrl) == CURLE_OK && effectiveUrl)
        result.redirectedHost = shownHost(QString::fromUtf8(effectiveUrl));
    return result;
}

} // namespace

HttpFetcher::HttpFetcher(FetchLimits limits, QByteArray userAgent)
    : m_limits(limits), m_userAgent(std::move(userAgent))
{
    initialiseCurlOnce();
    m_multi = curl_multi_init();
    if (m_multi) {
        curl_multi_setopt(m_multi, CURLMOPT_MAX_HOST_CONNECTIONS, m_limits.maxConnectionsPerHost);
        curl_multi_setopt(m_multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, m_limits.maxConnections);
    }
}

HttpFetcher::~HttpFetcher()
{
    for (const std::unique_ptr<Transfer> &transfer : m_running)
        curl_multi_remove_handle(m_multi, transfer->easy);
    m_running.clear();
    if (m_multi)
        curl_multi_cleanup(m_multi);
}

HttpFetcher::TransferId HttpFetcher::start(const QString &url, bool urgent)
{
    auto transfer = std::make_unique<Transfer>();
    transfer->id = ++m_lastId;
    transfer->url = url;
    transfer->urgent = urgent;
    transfer->maxBodyBytes = m_limits.maxBodyBytes;
    transfer->maxHeaderBytes = m_limits.maxHeaderBytes;
    m_queued.push_back(std::move(transfer));
    return m_lastId;
}

FetchResult HttpFetcher::fetch(const QString &url)
{
    const TransferId id = start(url);
    while (std::optional<std::pair<TransferId, FetchResult>> done = next()) {
        if (done->first == id)
            return std::move(done->second);
    }
    return failed(FetchFailure::Transfer);
}

void HttpFetcher::startQueued()
{
    while (!m_queued.empty()) {
        Transfer &transfer = *m_queued.front();
        const bool nothingHeld = m_bytesReserved == 0 && m_running.empty();
        if (!nothingHeld && m_bytesReserved + transfer.maxBodyBytes > m_limits.maxBytesHeld)
            return;
        std::unique_ptr<Transfer> owned = std::move(m_queued.front());
        m_queued.pop_front();
        m_bytesReserved += owned->maxBodyBytes;
        if (launch(*owned)) {
            m_running.push_back(std::move(owned));
        } else {
            owned->result = failed(owned->parsedUrl ? FetchFailure::Transfer : FetchFailure::NoHost);
            m_finished.push_back(std::move(owned));
        }
    }
}

bool HttpFetcher::launch(Transfer &transfer)
{
    transfer.parsedUrl = parseWithHost(transfer.url);
    if (!transfer.parsedUrl || !m_multi)
        return false;
    transfer.easy = curl_easy_init();
    CURL *easy = transfer.easy;
    if (!easy)
        return false;
    // The checked parse is what libcurl uses, so the request goes to the host it names.
    curl_easy_setopt(easy, CURLOPT_CURLU, transfer.parsedUrl);
    // Only the web's own schemes: an answer must never make us read a file or talk another
    // protocol, also not through a redirect.
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(m_limits.connectTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(m_limits.totalTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(transfer.maxBodyBytes));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // libcurl keeps its own copy of the text.
    curl_easy_setopt(easy, CURLOPT_USERAGENT, m_userAgent.constData());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, receiveHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_PRIVATE, &transfer);
    return curl_multi_add_handle(m_multi, easy) == CURLM_OK;
}

void HttpFetcher::collectFinished()
{
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        const auto found = std::find_if(m_running.begin(), m_running.end(), [message](const auto &transfer) {
            return transfer->easy == message->easy_handle;
        });
        if (found == m_running.end())
            continue;
        std::unique_ptr<Transfer> transfer = std::move(*found);
        m_running.erase(found);
        transfer->result = resultOf(message->data.result, transfer->easy, *transfer);
        // Removing the handle hands its connection back to the multi handle's cache.
        curl_multi_remove_handle(m_multi, transfer->easy);
        m_finished.push_back(std::move(transfer));
    }
}

std::pair<HttpFetcher::TransferId, FetchResult> HttpFetcher::takeFinished()
{
    auto chosen = std::find_if(m_finished.begin(), m_finished.end(), [](const auto &transfer) { return transfer->urgent; });
    if (chosen == m_finished.end())
        chosen = m_finished.begin();
    const std::unique_ptr<Transfer> transfer = std::move(*chosen);
    m_finished.erase(chosen);
    m_bytesReserved -= transfer->maxBodyBytes;
    return {transfer->id, std::move(transfer->result)};
}

std::optional<std::pair<HttpFetcher::TransferId, FetchResult>> HttpFetcher::next(const std::function<bool()> &stopWaiting)
{
    for (;;) {
        if (stopWaiting && stopWaiting())
            return std::nullopt;
        // Requests queued since the last call go out now, before the caller spends time on
        // what it gets back, and transfers that ended meanwhile are seen.
        startQueued();
        if (!m_running.empty()) {
            int running = 0;
            if (curl_multi_perform(m_multi, &running) != CURLM_OK)
                break;
            collectFinished();
        }
        if (!m_finished.empty())
            return takeFinished();
        if (m_running.empty() && m_queued.empty())
            return std::nullopt;
        if (!m_running.empty() && curl_multi_poll(m_multi, nullptr, 0, 1000, nullptr) != CURLM_OK)
            break;
    }
    // The multi handle itself failed: every transfer still running fails with it.
    while (!m_running.empty()) {
        curl_multi_remove_handle(m_multi, m_running.front()->easy);
        m_running.front()->result = failed(FetchFailure::Transfer);
        m_finished.push_back(std::move(m_running.front()));
        m_running.pop_front();
    }
    return next(stopWaiting);
}
