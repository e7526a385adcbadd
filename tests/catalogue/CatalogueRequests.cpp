#include "CatalogueRequests.h"

#include "search/SearchEngine.h"
#include "search/ServiceConfig.h"

namespace {

struct Transfer {
    const HttpGetOptions *options;
    HttpAnswer *answer;
};

size_t receive(char *data, size_t size, size_t count, void *userData)
{
    auto *transfer = static_cast<Transfer *>(userData);
    const qint64 length = qint64(size * count);
    HttpAnswer &answer = *transfer->answer;
    answer.bytesReceived += length;
    const qint64 room = transfer->options->keepAtMost - answer.body.size();
    if (room > 0)
        answer.body.append(data, qsizetype(std::min(room, length)));
    if (transfer->options->abortAfter >= 0 && answer.bytesReceived >= transfer->options->abortAfter)
        return 0;
    return size_t(length);
}

} // namespace

HttpAnswer httpGet(const QString &url, const HttpGetOptions &options)
{
    HttpAnswer answer;
    Transfer transfer{&options, &answer};
    CURL *curl = curl_easy_init();
    const QByteArray address = url.toUtf8();
    curl_slist *headers = nullptr;
    for (const QByteArray &header : options.headers)
        headers = curl_slist_append(headers, header.constData());
    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, options.timeoutMs);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, options.pathAsIs ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, receive);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    answer.result = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
    const char *contentType = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        answer.contentType = contentType;
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return answer;
}

QMap<QString, QString> itemSearchParameters(const QString &keywords, const QString &page, const QString &accessKey)
{
    return {{QStringLiteral("AWSAccessKeyId"), accessKey},
            {QStringLiteral("ItemPage"), page},
            {QStringLiteral("Keywords"), keywords},
            {QStringLiteral("Operation"), QStringLiteral("ItemSearch")},
            {QStringLiteral("ResponseGroup"), QStringLiteral("Large")},
            {QStringLiteral("SearchIndex"), QStringLiteral("Music")},
            {QStringLiteral("Service"), QStringLiteral("AWSECommerceService")},
            {QStringLiteral("Timestamp"), SearchEngine::utcTimestamp()}};
}

QString signedUrl(const QString &host, const QMap<QString, QString> &parameters, const QString &secret)
{
    const QString query = SearchEngine::queryStringForParameterDictionary(parameters);
    const QString signature =
        SearchEngine::makeSignature(secret, SearchEngine::signatureInputForQueryString(query, host).toLatin1());
    return QStringLiteral("http://%1/onca/soap?%2&Signature=%3").arg(host, query, signature);
}

QString placeholderSearchUrl(const QString &host, const QString &keywords, const QString &page)
{
    return signedUrl(host, itemSearchParameters(keywords, page, ServiceConfig::placeholderAccessKey),
                     ServiceConfig::placeholderSecretKey);
}
