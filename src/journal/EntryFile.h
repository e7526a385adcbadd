#pragma once

#include "journal/WriteRecord.h"

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

// One operation's journal entry as it is kept on disk: a file of records, each its size, its
// type and its fields. Records are only ever appended; a record cut short by a killed
// process ends the entry, and what came before stays good.
namespace EntryFile {

enum class RecordType : quint8 {
    Begin = 1,   // what the operation was and when it began
    Write,       // a WriteRecord, before the file changes
    Written,     // the write's index and the file's modification time after it
    Rename,      // a RenameRecord, before the file moves
    Renamed,     // the rename's index, once the file moved
    Undone,      // the operation was taken back
};

struct RenameRecord {
    QString from;
    QString to;
    QStringList madeFolders;   // innermost first
    bool done = false;
};

// What an entry holds. Without the changes read, only their count.
struct Contents {
    QString fileName;
    QDateTime when;
    QString what;
    qsizetype changes = 0;
    bool undone = false;
    QList<WriteRecord> writes;
    QList<RenameRecord> renames;
};

enum class Reading { Summary, Changes };

// The entry in `path`; nothing when it does not begin with its Begin record.
std::optional<Contents> read(const QString &path, Reading reading);

// Appends one record to the open file in a single write; false with the reason when it fails.
bool append(QFile &file, RecordType type, const QByteArray &fields, QString *reason);

// A record's fields written as QDataStream does, in one version for every reader.
template <typename... Fields>
QByteArray fields(const Fields &...values)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    (out << ... << values);
    return bytes;
}

} // namespace EntryFile
