#pragma once

#include <QByteArray>
#include <vector>

// New contents for one file, as pieces in order: literal bytes, or ranges of the file's
// current contents. Lets the writer leave unchanged ranges where they are, or copy them
// inside the kernel, instead of carrying the audio through memory.
class FileContentsPlan {
public:
    struct Piece {
        QByteArray bytes;     // used when offset < 0
        qint64 offset = -1;   // start of a range of the current file
        qint64 length = 0;
        bool isRange() const { return offset >= 0; }
    };

    // `currentSize` is the size the file had when the plan was made; a writer that finds
    // another size refuses, since the ranges would no longer mean what they meant.
    explicit FileContentsPlan(qint64 currentSize) : m_currentSize(currentSize) {}

    // Each joins the piece before it where the two are one run (bytes after bytes, a range
    // that goes on where the one before ends).
    void appendBytes(const QByteArray &bytes);
    void appendRange(qint64 offset, qint64 length);
    // Asks for a complete new file even where the change could be written in place: for a
    // change that spreads over many places, such as renumbered pages, which in place could
    // be left half old, half new.
    void requireNewFile() { m_newFileRequired = true; }
    // How many runs of new bytes the plan writes.
    qsizetype byteRunCount() const;

    const std::vector<Piece> &pieces() const { return m_pieces; }
    qint64 currentSize() const { return m_currentSize; }
    qint64 newSize() const;

    // True when every range keeps its offset and the file does not grow, so the change is
    // made by overwriting the byte pieces and cutting off the end, and no new file is required.
    bool fitsInPlace() const;
    // True when the new contents equal the current ones (only ranges, each in place,
    // covering the whole file).
    bool isUnchanged() const;

private:
    qint64 m_currentSize;
    std::vector<Piece> m_pieces;
    bool m_newFileRequired = false;
};
