#pragma once

#include "search/ServiceConfig.h"

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

struct LocalCatalogueOptions {
    QString accessKey = ServiceConfig::placeholderAccessKey;
    QString secretKey = ServiceConfig::placeholderSecretKey;
    int latencyMs = 0;
    bool requireUserAgent = false;  // --require-user-agent
};

// Runs the real tagwright-catalogue program on a free loopback port for one test, with its
// request log in a temporary folder, and stops it when it goes out of scope.
class LocalCatalogue {
public:
    explicit LocalCatalogue(const QString &root, LocalCatalogueOptions options = {});
    ~LocalCatalogue();
    LocalCatalogue(const LocalCatalogue &) = delete;
    LocalCatalogue &operator=(const LocalCatalogue &) = delete;

    // False when the program could not be started; the test has then been failed already.
    bool isRunning() const { return m_port != 0; }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString baseUrl() const { return QStringLiteral("http://") + host(); }

    // All four storefronts, MusicBrainz and the Cover Art Archive pointed at this service,
    // with its credentials.
    ServiceConfig config() const;
    // The same as TAGWRIGHT_* environment entries, for a child process, with a runtime
    // folder of its own (where the MusicBrainz requests' pace is kept).
    QStringList environment() const;

    // The request log so far, one object per request: "path", "query", "signatureVerified",
    // "concurrent", "userAgent", "arrivedMs", "status".
    QList<QJsonObject> logLines() const;

private:
    LocalCatalogueOptions m_options;
    QTemporaryDir m_logDir;
    QProcess m_process;
    quint16 m_port = 0;
};
