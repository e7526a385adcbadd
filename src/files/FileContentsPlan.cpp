#include "files/FileContentsPlan.h"

#include <algorithm>

void FileContentsPlan::appendBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (!m_pieces.empty() && !m_pieces.back().isRange()) {
        m_pieces.back().bytes += bytes;
        m_pieces.back().length += bytes.size();
        return;
    }
    m_pieces.push_back(Piece{bytes, -1, bytes.size()});
}

void FileContentsPlan::appendRange(qint64 offset, qint64 length)
{
    if (length <= 0)
        return;
    if (!m_pieces.empty() && m_pieces.back().isRange() && m_pieces.back().offset + m_pieces.back().length == offset) {
        m_pieces.back().length += length;
        return;
    }
    m_pieces.push_back(Piece{{}, offset, length});
}

qsizetype FileContentsPlan::byteRunCount() const
{
    return std::count_if(m_pieces.begin(), m_pieces.end(), [](const Piece &piece) { return !piece.isRange(); });
}

qint64 FileContentsPlan::newSize() const
{
    qint64 size = 0;
    for (const Piece &piece : m_pieces)
        size += piece.length;
    return size;
}

bool FileContentsPlan::fitsInPlace() const
{
    if (m_newFileRequired)
        return false;
    qint64 position = 0;
    for (const Piece &piece : m_pieces) {
        if (piece.isRange() && piece.offset != position)
            return false;
        position += piece.length;
    }
    return position <= m_currentSize;
}

bool FileContentsPlan::isUnchanged() const
{
    qint64 position = 0;
    for (const Piece &piece : m_pieces) {
        if (!piece.isRange() || piece.offset != position)
            return false;
        position += piece.length;
    }
    return position == m_currentSize;
}
