#pragma once

#include "files/ChangeRecorder.h"
#include "journal/WriteRecord.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QString>

#include <future>
#include <optional>
#include <vector>

// The journal entry of one operation, written as the operation goes: each change is
// recorded before it is made, and again once it is made. The entry's file is made with the
// first change, so an operation that changes nothing leaves no entry. Every record goes to
// the system at once, so a killed process loses none; makeDurable() puts them on disk.
class JournalEntry : public ChangeRecorder {
public:
    // `what` names the operation as history and the Undo command show it ("Tag files").
    JournalEntry(QString folder, QString what);

    bool recordWrite(const QString &path, int fd, const FileContentsPlan &plan, QString *reason) override;
    void recordWritten(const QString &path, int fd) override;
    bool recordRename(const QString &from, const QString &to, const QStringList &madeFolders,
                      QString *reason) override;
    void recordRenamed(const QString &to) override;
    bool makeDurable(QString *reason) override;

private:
    struct PendingWrite {
        std::optional<WriteRecord> record;
        QString failure;
    };

    bool open(QString *reason);
    // Writes the write records made meanwhile, in the order they were asked for.
    bool writePending(QString *reason);

    QString m_folder;
    QString m_what;
    QDateTime m_when;
    QFile m_file;
    bool m_named = false;   // the entry's name in its folder is on disk
    std::vector<std::future<PendingWrite>> m_pending;
    QHash<QString, qint32> m_writes;    // each write's index, by path
    QHash<QString, qint32> m_renames;   // each rename's index, by new path
};
