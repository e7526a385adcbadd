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

void RequestLog::append(const QString &path, const QMap<QString, QString> &query, bool signatureVerified,
                        int concurrent)
{
    std::lock_guard lock(m_mutex);
    if (!m_file.isOpen())
        return;
    QJsonObject parameters;
    for (auto it = query.cbegin(); it != query.cend(); ++it)
        parameters.insert(it.key(), it.value());
    const QJsonObject line{{QStringLiteral("path"), path},
                           {QStringLiteral("query"), parameters},
                           {QStringLiteral("signatureVerified"), signatureVerified},
                           {QStringLiteral("concurrent"), concurrent}};
    m_file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    m_file.flush();
}
