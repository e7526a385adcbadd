#include "files/PlannedWriteStream.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using TagLib::ByteVector;

PlannedWriteStream::PlannedWriteStream(int fd, const QString &path, qint64 size)
    : m_fd(fd), m_name(QFile::encodeName(path)), m_originalSize(size), m_size(size)
{
    if (size > 0)
        m_pieces.emplace(0, Piece{0, {}, size});
}

PlannedWriteStream::~PlannedWriteStream()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

TagLib::FileName PlannedWriteStream::name() const
{
    return m_name.constData();
}

ByteVector PlannedWriteStream::readBlock(unsigned long length)
{
    ByteVector block;
    qint64 wanted = qMin<qint64>(qint64(length), m_size - m_position);
    if (wanted <= 0)
        return block;
    block.resize(unsigned(wanted));
    char *out = block.data();
    qint64 got = 0;
    auto piece = std::prev(m_pieces.upper_bound(m_position));
    while (got < wanted && piece != m_pieces.end()) {
        const qint64 inside = m_position + got - piece->first;
        const qint64 take = qMin(wanted - got, piece->second.length - inside);
        if (piece->second.source < 0) {
            std::memcpy(out + got, piece->second.bytes.constData() + inside, size_t(take));
        } else {
            qint64 done = 0;
            while (done < take) {
                const ssize_t read = ::pread(m_fd, out + got + done, size_t(take - done), piece->second.source + inside + done);
                if (read < 0 && errno == EINTR)
                    continue;
                if (read <= 0)
                    break;
                done += read;
            }
            if (done < take) {   // the file shrank under us: hand out what was read
                got += done;
                break;
            }
        }
        got += take;
        ++piece;
    }
    block.resize(unsigned(got));
    m_position += got;
    return block;
}

void PlannedWriteStream::writeBlock(const ByteVector &data)
{
    const qint64 start = qMin(m_position, m_size);
    replace(start, qMin<qint64>(data.size(), m_size - start), QByteArray(data.data(), data.size()));
    m_position = start + data.size();
}

void PlannedWriteStream::insert(const ByteVector &data, unsigned long start, unsigned long replaceLength)
{
    const qint64 from = qMin<qint64>(qint64(start), m_size);
    replace(from, qMin<qint64>(qint64(replaceLength), m_size - from), QByteArray(data.data(), data.size()));
}

void PlannedWriteStream::removeBlock(unsigned long start, unsigned long length)
{
    const qint64 from = qMin<qint64>(qint64(start), m_size);
    replace(from, qMin<qint64>(qint64(length), m_size - from), {});
}

void PlannedWriteStream::seek(long offset, Position p)
{
    const qint64 base = p == Beginning ? 0 : p == Current ? m_position : m_size;
    m_position = qMax<qint64>(0, base + offset);
}

void PlannedWriteStream::truncate(long length)
{
    if (length < m_size)
        replace(qMax<qint64>(length, 0), m_size - qMax<qint64>(length, 0), {});
    else if (length > m_size)
        replace(m_size, 0, QByteArray(length - m_size, '\0'));
}

void PlannedWriteStream::splitAt(qint64 position)
{
    if (position <= 0 || position >= m_size)
        return;
    auto piece = std::prev(m_pieces.upper_bound(position));
    if (piece->first == position)
        return;
    const qint64 inside = position - piece->first;
    Piece &head = piece->second;
    Piece tail{head.source < 0 ? -1 : head.source + inside, head.source < 0 ? head.bytes.mid(inside) : QByteArray(),
               head.length - inside};
    head.length = inside;
    if (head.source < 0)
        head.bytes.truncate(inside);
    m_pieces.emplace_hint(std::next(piece), position, std::move(tail));
}

void PlannedWriteStream::replace(qint64 start, qint64 length, const QByteArray &bytes)
{
    splitAt(start);
    splitAt(start + length);
    const auto first = m_pieces.lower_bound(start);
    const auto behind = m_pieces.lower_bound(start + length);
    m_pieces.erase(first, behind);
    // Changes of size are rare (a tag that grows or shrinks), so the pieces behind are
    // renumbered one by one; overwrites, as of page numbers, move nothing.
    if (const qint64 shift = bytes.size() - length; shift != 0) {
        std::vector<decltype(m_pieces)::node_type> moved;
        for (auto piece = m_pieces.lower_bound(start + length); piece != m_pieces.end();)
            moved.push_back(m_pieces.extract(piece++));
        for (auto &node : moved) {
            node.key() += shift;
            m_pieces.insert(std::move(node));
        }
    }
    m_size += bytes.size() - length;
    if (bytes.isEmpty())
        return;
    // New bytes right behind other new bytes join them, which keeps the table short.
    if (auto before = m_pieces.lower_bound(start); before != m_pieces.begin()) {
        --before;
        if (before->second.source < 0 && before->first + before->second.length == start) {
            before->second.bytes += bytes;
            before->second.length += bytes.size();
            return;
        }
    }
    m_pieces.emplace(start, Piece{-1, bytes, bytes.size()});
}

FileContentsPlan PlannedWriteStream::plan() const
{
    FileContentsPlan plan(m_originalSize);
    for (const auto &[start, piece] : m_pieces) {
        if (piece.source < 0)
            plan.appendBytes(piece.bytes);
        else
            plan.appendRange(piece.source, piece.length);
    }
    return plan;
}
