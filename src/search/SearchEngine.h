#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// The album search client: signs ItemSearch requests for the product-catalogue web service.
class SearchEngine {
public:
    // The current time in UTC as "yyyy-MM-ddTHH:mm:ssZ".
    static QString utcTimestamp();
    // The pairs "key=escaped value" joined by "&", keys in ascending byte order.
    static QString queryStringForParameterDictionary(const QMap<QString, QString> &parameters);
    // "GET", the host, "/onca/soap" and the query, each on its own line.
    static QString signatureInputForQueryString(const QString &queryString, const QString &host);
    // HMAC-SHA256 of the data keyed with the secret, in Base64, percent-escaped for a URL.
    static QString makeSignature(const QString &secret, const QByteArray &data);
};

// Orders two keys by their UTF-8 bytes as unsigned values; a proper prefix sorts first.
// Negative, zero or positive as with strcmp; the context is not used.
int stringByteSort(const QString &a, const QString &b, void *context);
