#include "OneAtATimeSearch.h"

#include "search/CoverImage.h"

#include <curl/curl.h>

namespace {

size_t appendBody(char *data, size_t size, size_t count, void *body)
{
    static_cast<QByteArray *>(body)->append(data, qsizetype(size * count));
    return size * count;
}

// One GET on a new connection that is closed afterwards.
std::optional<QByteArray> fetchOnNewConnection(const QString &url)
{
    CURL *easy = curl_easy_init();
    if (!easy)
        return std::nullopt;
    QByteArray body;
    const QByteArray address = url.toUtf8();
    curl_easy_setopt(easy, CURLOPT_URL, address.constData());
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    const CURLcode result = curl_easy_perform(easy);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(easy);
    if (result != CURLE_OK || status < 200 || status >= 300)
        return std::nullopt;
    return body;
}

std::optional<XmlDocument> fetchPage(const QString &url)
{
    const std::optional<QByteArray> body = fetchOnNewConnection(url);
    return body ? XmlDocument::parse(*body) : std::nullopt;
}

} // namespace

OneAtATimeSearch::OneAtATimeSearch(ServiceConfig config) : m_engine(std::move(config))
{
}

ResultListPtr OneAtATimeSearch::buildSearchResultFromKeywords(const QString &keywords, const QString &engine)
{
    // Each cover is fetched while its item is extracted, as a plain synchronous client does.
    const SearchEngine::CoverLookup fetchCover = [](const QString &url) -> std::optional<QImage> {
        if (!SearchEngine::isFetchableCoverUrl(url))
            return std::nullopt;
        const std::optional<QByteArray> body = fetchOnNewConnection(url);
        return body ? decodeCoverImage(*body) : std::nullopt;
    };
    const QString host = m_engine.hostForEngine(engine);
    auto resultList = std::make_shared<ResultList>();
    const std::optional<XmlDocument> firstPage = fetchPage(m_engine.requestUrlForPage(keywords, host, 1));
    m_engine.addResultEntriesFromResult(firstPage ? &*firstPage : nullptr, *resultList, fetchCover);
    const qint32 total = SearchEngine::getTotalPagesFromItemSearchResult(firstPage ? &*firstPage : nullptr);
    for (qint32 page = 2; page <= std::min(total, 3); ++page) {
        const std::optional<XmlDocument> document = fetchPage(m_engine.requestUrlForPage(keywords, host, page));
        m_engine.addResultEntriesFromResult(document ? &*document : nullptr, *resultList, fetchCover);
    }
    return resultList;
}
