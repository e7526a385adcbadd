#include "support/LocalCatalogue.h"

#include "support/TestPaths.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Generous: only a broken build or a stuck machine comes near them.
constexpr int startTimeoutMs = 30000;
constexpr int stopTimeoutMs = 15000;

} // namespace

LocalCatalogue::LocalCatalogue(const QString &root, LocalCatalogueOptions options)
    : m_options(std::move(options))
{
    QStringList arguments{QStringLiteral("--root"), root,
                          QStringLiteral("--port"), QStringLiteral("0"),
                          QStringLiteral("--latency-ms"), QString::number(m_options.latencyMs),
                          QStringLiteral("--log"), m_logDir.filePath(QStringLiteral("requests.jsonl"))};
    if (m_options.requireUserAgent)
        arguments << QStringLiteral("--require-user-agent");
    // Without other credentials the program's own defaults are the ones in use.
    if (m_options.accessKey != ServiceConfig::placeholderAccessKey
        || m_options.secretKey != ServiceConfig::placeholderSecretKey)
        arguments << QStringLiteral("--access-key") << m_options.accessKey << QStringLiteral("--secret")
                  << m_options.secretKey;
    // The service's warnings show in the test's own output.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(binDir() + QStringLiteral("/tagwright-catalogue"), arguments);
    if (!m_process.waitForStarted(startTimeoutMs)) {
        ADD_FAILURE() << "cannot start tagwright-catalogue: " << m_process.errorString().toStdString();
        return;
    }
    while (!m_process.canReadLine() && m_process.waitForReadyRead(startTimeoutMs)) {
    }
    const QString firstLine = QString::fromUtf8(m_process.readLine()).trimmed();
    static const QRegularExpression listening(QStringLiteral("^listening on 127\\.0\\.0\\.1:([0-9]+)$"));
    const QRegularExpressionMatch match = listening.match(firstLine);
    if (!match.hasMatch()) {
        ADD_FAILURE() << "tagwright-catalogue did not start (see its message above); first line: \""
                      << firstLine.toStdString() << "\"";
        return;
    }
    m_port = match.captured(1).toUShort();
}

LocalCatalogue::~LocalCatalogue()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(stopTimeoutMs)) {
        ADD_FAILURE() << "tagwright-catalogue did not stop on SIGTERM";
        m_process.kill();
        m_process.waitForFinished(stopTimeoutMs);
    } else if (m_process.exitStatus() != QProcess::NormalExit || m_process.exitCode() != 0) {
        ADD_FAILURE() << "tagwright-catalogue ended with exit code " << m_process.exitCode();
    }
}

ServiceConfig LocalCatalogue::config() const
{
    ServiceConfig config;
    config.accessKey = m_options.accessKey;
    config.secretKey = m_options.secretKey;
    for (const Storefront &store : ServiceConfig::storefronts())
        config.hosts.insert(store.code, host());
    config.credentialsConfigured = true;
    config.musicBrainzUrl = baseUrl();
    config.coverArtUrl = baseUrl();
    return config;
}

QStringList LocalCatalogue::environment() const
{
    QStringList environment{ServiceConfig::accessKeySetting().environmentVariable + u'=' + m_options.accessKey,
                            ServiceConfig::secretKeySetting().environmentVariable + u'=' + m_options.secretKey};
    for (const Storefront &store : ServiceConfig::storefronts())
        environment.append(store.host.environmentVariable + u'=' + host());
    environment << ServiceConfig::musicBrainzUrlSetting().environmentVariable + u'=' + baseUrl()
                << ServiceConfig::coverArtUrlSetting().environmentVariable + u'=' + baseUrl()
                // The child programs pace their requests together, apart from other tests'.
                << QStringLiteral("XDG_RUNTIME_DIR=") + m_logDir.path();
    return environment;
}

QList<QJsonObject> LocalCatalogue::logLines() const
{
    QList<QJsonObject> lines;
    QFile log(m_logDir.filePath(QStringLiteral("requests.jsonl")));
    if (!log.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (!line.isEmpty())
            lines.append(QJsonDocument::fromJson(line).object());
    }
    return lines;
}
