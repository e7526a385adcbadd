#pragma once

#include "files/FileContentsPlan.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <taglib/tiostream.h>

// A TagLib stream over a file that is never written: TagLib reads the file through it, and
// what TagLib writes, inserts or removes when it saves is only noted, as a table of pieces
// (ranges of the file as it is, and new bytes), and handed out as a FileContentsPlan. So
// every format is saved the same crash-safe way (DurableWriteBatch), the audio is copied
// straight from the old file, never through memory, and a file too large to hold in memory
// needs only as much memory as its new tags.
class PlannedWriteStream : public TagLib::IOStream {
public:
    // Reads through `fd` (closed with the stream), whose file has `size` bytes.
    PlannedWriteStream(int fd, const QString &path, qint64 size);
    ~PlannedWriteStream() override;
    PlannedWriteStream(const PlannedWriteStream &) = delete;
    PlannedWriteStream &operator=(const PlannedWriteStream &) = delete;

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector &data) override;
    void insert(const TagLib::ByteVector &data, unsigned long start = 0, unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override { return false; }
    bool isOpen() const override { return m_fd >= 0; }
    void seek(long offset, Position p = Beginning) override;
    void clear() override {}
    long tell() const override { return long(m_position); }
    long length() override { return long(m_size); }
    void truncate(long length) override;

    // The contents as changed so far, planned from the file as it was opened.
    FileContentsPlan plan() const;

private:
    struct Piece {
        qint64 source = -1;   // start of a range of the file as it is, or -1 for `bytes`
        QByteArray bytes;
        qint64 length = 0;
    };

    // Makes a piece start at `position`, splitting the piece that holds it.
    void splitAt(qint64 position);
    // Puts `bytes` in place of the `length` bytes from `start`; everything behind moves.
    void replace(qint64 start, qint64 length, const QByteArray &bytes);

    int m_fd;
    QByteArray m_name;
    qint64 m_originalSize;
    qint64 m_size;
    qint64 m_position = 0;
    std::map<qint64, Piece> m_pieces;   // by where each starts in the changed contents
};
