#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <curl/curl.h>

// Plain libcurl requests against the local catalogue service, and the signed ItemSearch
// URLs that a client sends it.

struct HttpAnswer {
    CURLcode result = CURLE_OK;
    long status = 0;
    QByteArray body;          // at most HttpGetOptions::keepAtMost bytes of it
    QByteArray contentType;
    qint64 bytesReceived = 0;
};

struct HttpGetOptions {
    QList<QByteArray> headers;       // e.g. "Host: webservices.amazon.de"
    long timeoutMs = 30000;
    qint64 keepAtMost = 16 << 20;
    qint64 abortAfter = -1;          // give up (CURLE_WRITE_ERROR) once this many bytes came
    bool pathAsIs = false;           // send "/../" unchanged instead of resolving it
};

HttpAnswer httpGet(const QString &url, const HttpGetOptions &options = {});

// The eight ItemSearch parameters of one page, timestamped now.
QMap<QString, QString> itemSearchParameters(const QString &keywords, const QString &page, const QString &accessKey);

// http://HOST/onca/soap?<canonical query>&Signature=<signature over host and query>
QString signedUrl(const QString &host, const QMap<QString, QString> &parameters, const QString &secret);

// The signed URL of one ItemSearch page with the placeholder credentials, which the service
// takes unless it is given others.
QString placeholderSearchUrl(const QString &host, const QString &keywords, const QString &page = QStringLiteral("1"));
