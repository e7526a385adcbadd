#pragma once

#include <QFile>
#include <QMap>
#include <QString>
#include <mutex>

// The request log: one JSON object per line and request, with the path, every query
// parameter, whether the signature verified and how many requests were being answered at
// once. Requests are served on several threads, so lines are written whole under a lock and
// flushed before the answer goes out.
class RequestLog {
public:
    // An empty path keeps no log.
    bool open(const QString &path, QString *error);
    // `concurrent`: the requests being answered when this one came, itself included.
    void append(const QString &path, const QMap<QString, QString> &query, bool signatureVerified, int concurrent);

private:
    std::mutex m_mutex;
    QFile m_file;
};
