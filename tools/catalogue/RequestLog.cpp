#include "catalogue/RequestLog.h"

#include <QJsonDocument>
#include <QJsonObject>

bool RequestLog::open(const QString &path, QString *error)
{
    if (path.isEmpty())
        return true;
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return true;
    if (error)
        *error = QStringLiteral("cannot open the log file %1: %2").arg(path, m_file.errorString());
    return false;
}

void RequestLog::append(const Entry &entry)
{
    std::lock_guard lock(m_mutex);
    if (!m_file.isOpen())
        return;
    QJsonObject parameters;
    for (auto it = entry.query.cbegin(); it != entry.query.cend(); ++it)
        parameters.insert(it.key(), it.value());
    const QJsonObject line{{QStringLiteral("path"), entry.path},
                           {QStringLiteral("query"), parameters},
                           {QStringLiteral("signatureVerified"), entry.signatureVerified},
                           {QStringLiteral("concurrent"), entry.concurrent},
                           {QStringLiteral("userAgent"), entry.userAgent},
                           {QStringLiteral("arrivedMs"), entry.arrivedMs},
                           {QStringLiteral("status"), entry.status}};
    m_file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    m_file.flush();
}
