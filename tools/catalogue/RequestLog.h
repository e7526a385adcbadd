#pragma once

#include <QFile>
#include <QMap>
#include <QString>
#include <mutex>

// The request log: one JSON object per line and request. Requests are served on several
// threads, so lines are written whole under a lock and flushed before the answer goes out.
class RequestLog {
public:
    struct Entry {
        QString path;
        QMap<QString, QString> query;  // every query parameter
        bool signatureVerified = false;
        int concurrent = 0;            // requests being answered when this one came, itself included
        QString userAgent;
        qint64 arrivedMs = 0;          // since the server started
        int status = 0;                // HTTP status sent; 0 when no answer goes out (hang, close)
    };

    // An empty path keeps no log.
    bool open(const QString &path, QString *error);
    void append(const Entry &entry);

private:
    std::mutex m_mutex;
    QFile m_file;
};
