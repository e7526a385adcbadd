#pragma once

#include <QFile>
#include <QMap>
#include <QString>
#include <mutex>

// The request log: one JSON object per line and request, with the path, every query
// parameter, whether the signature verified and the client's port. Requests are served on several threads,
// so lines are written whole under a lock and flushed before the answer goes out.
class RequestLog {
public:
    // An empty path keeps no log.
    bool open(const QString &path, QString *error);
    // clientPort tells the client's connections apart.
    void append(const QString &path, const QMap<QString, QString> &query, bool signatureVerified, int clientPort);

private:
    std::mutex m_mutex;
    QFile m_file;
};
