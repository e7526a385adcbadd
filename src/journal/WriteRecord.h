#pragma once

#include "files/FileContentsPlan.h"

#include <QByteArray>
#include <QDataStream>
#include <QList>
#include <QString>
#include <optional>

// What a write of one file's tags needs for being taken back: the bytes it replaced, as the
// pieces that rebuild the old file from the file the write left (its kept ranges, the audio,
// at their new places, and the old bytes between them), and how to recognise the file as the
// write left it (size, modification time, a hash of the bytes it wrote). Never the audio.
struct WriteRecord {
    // Where the file stands against the write.
    enum class State { AsWritten, AsBefore, Changed };
    struct Region {
        qint64 offset = 0;
        qint64 length = 0;
    };

    QString path;
    qint64 oldSize = 0;
    qint64 oldModifiedNs = 0;
    qint64 newSize = 0;
    QList<Region> newRegions;   // where the write put its own bytes
    QByteArray newHash;         // SHA-256 of those bytes, in order
    // The old contents: ranges of the file as the write left it, or the old bytes themselves.
    std::vector<FileContentsPlan::Piece> restore;
    std::optional<qint64> writtenModifiedNs;   // once the write is known to be complete

    // The record of the planned write of the file that `fd` reads as it is now; nothing,
    // with the reason, when the file cannot be read.
    static std::optional<WriteRecord> make(const QString &path, int fd, const FileContentsPlan &plan, QString *reason);

    // Where the file at the record's path stands; `fd` reads it.
    State stateOf(int fd) const;
    // The old contents, planned from the file as the write left it.
    FileContentsPlan restorePlan() const;
};

QDataStream &operator<<(QDataStream &out, const WriteRecord &record);
QDataStream &operator>>(QDataStream &in, WriteRecord &record);

// The file's modification time in nanoseconds, read through `fd`; 0 when unknown.
qint64 modifiedNs(int fd);
