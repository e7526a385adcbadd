#include "journal/WriteRecord.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Tells a file as the write left it from one changed since; fast, as every tag is hashed.
constexpr auto hashAlgorithm = QCryptographicHash::Blake2b_256;

// `length` bytes from `offset`; fewer where the file ends or cannot be read.
QByteArray readAt(int fd, qint64 offset, qint64 length)
{
    QByteArray bytes(length, Qt::Uninitialized);
    qint64 got = 0;
    while (got < length) {
        const ssize_t read = ::pread(fd, bytes.data() + got, size_t(length - got), offset + got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        got += read;
    }
    bytes.truncate(got);
    return bytes;
}

struct KeptRange {
    qint64 oldOffset;
    qint64 newOffset;
    qint64 length;
};

void appendPiece(std::vector<FileContentsPlan::Piece> &pieces, FileContentsPlan::Piece piece)
{
    if (!pieces.empty() && pieces.back().isRange() == piece.isRange()) {
        FileContentsPlan::Piece &last = pieces.back();
        if (!piece.isRange()) {
            last.bytes += piece.bytes;
            last.length += piece.length;
            return;
        }
        if (last.offset + last.length == piece.offset) {
            last.length += piece.length;
            return;
        }
    }
    pieces.push_back(std::move(piece));
}

// The old bytes from `offset` as restore pieces: where the write put the same bytes again
// (a cover written anew, at its old place or shifted a little), a range of the new file,
// which the record's hash vouches for; elsewhere the old bytes themselves. Keeps the journal
// small for a file tagged again with mostly the same values.
class OldBytes {
public:
    OldBytes(const std::vector<FileContentsPlan::Piece> &plan)
    {
        qint64 position = 0;
        for (const FileContentsPlan::Piece &piece : plan) {
            if (!piece.isRange())
                m_written.push_back({position, piece.bytes});
            position += piece.length;
        }
    }

    void append(std::vector<FileContentsPlan::Piece> &pieces, qint64 offset, const QByteArray &old)
    {
        constexpr qint64 block = 4096;
        for (qint64 start = 0; start < old.size(); start += block) {
            const QByteArrayView bytes = QByteArrayView(old).sliced(start, qMin(block, old.size() - start));
            const std::optional<qint64> found = bytes.size() == block ? find(offset + start, bytes) : std::nullopt;
            if (found)
                appendPiece(pieces, {{}, *found, bytes.size()});
            else
                appendPiece(pieces, {bytes.toByteArray(), -1, bytes.size()});
        }
    }

private:
    struct Written {
        qint64 position;
        QByteArray bytes;
    };

    // Where the new file holds `bytes`, which the old one held at `position`.
    std::optional<qint64> find(qint64 position, QByteArrayView bytes)
    {
        for (const Written &written : m_written) {
            const QByteArrayView in(written.bytes);
            for (const qint64 shift : {qint64(0), m_shift}) {
                const qint64 at = position + shift - written.position;
                if (at >= 0 && at + bytes.size() <= in.size() && in.sliced(at, bytes.size()) == bytes)
                    return written.position + at;
            }
            // A tag whose earlier frames grew or shrank a little moves what follows them.
            constexpr qint64 window = 1 << 16;
            const qint64 from = qBound<qint64>(0, position - written.position - window, in.size());
            const qint64 to = qBound<qint64>(from, position - written.position + window + bytes.size(), in.size());
            if (const qint64 at = in.sliced(from, to - from).indexOf(bytes); at >= 0) {
                m_shift = written.position + from + at - position;
                return written.position + from + at;
            }
        }
        return std::nullopt;
    }

    std::vector<Written> m_written;
    qint64 m_shift = 0;
};

} // namespace

qint64 modifiedNs(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return 0;
    return qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

std::optional<WriteRecord> WriteRecord::make(const QString &path, int fd, const FileContentsPlan &plan, QString *reason)
{
    WriteRecord record;
    record.path = path;
    record.oldSize = plan.currentSize();
    record.oldModifiedNs = modifiedNs(fd);
    record.newSize = plan.newSize();
    QCryptographicHash hash(hashAlgorithm);
    std::vector<KeptRange> kept;
    qint64 position = 0;
    for (const FileContentsPlan::Piece &piece : plan.pieces()) {
        if (piece.isRange()) {
            kept.push_back({piece.offset, position, piece.length});
        } else {
            record.newRegions.append({position, piece.length});
            hash.addData(piece.bytes);
        }
        position += piece.length;
    }
    record.newHash = hash.result();
    // The old file, front to back: where a kept range holds its bytes, that range of the new
    // file; elsewhere the old bytes, which the write replaces or drops.
    std::sort(kept.begin(), kept.end(), [](const KeptRange &a, const KeptRange &b) { return a.oldOffset < b.oldOffset; });
    qint64 covered = 0;
    OldBytes oldBytes(plan.pieces());
    const auto keepOld = [&](qint64 end) {
        if (end <= covered)
            return true;
        const QByteArray bytes = readAt(fd, covered, end - covered);
        if (bytes.size() < end - covered)
            return false;
        oldBytes.append(record.restore, covered, bytes);
        return true;
    };
    for (const KeptRange &range : kept) {
        const qint64 end = range.oldOffset + range.length;
        if (end <= covered)
            continue;
        if (!keepOld(range.oldOffset)) {
            *reason = QStringLiteral("could not read its old tags for the undo journal");
            return std::nullopt;
        }
        const qint64 start = qMax(range.oldOffset, covered);
        appendPiece(record.restore, {{}, range.newOffset + (start - range.oldOffset), end - start});
        covered = end;
    }
    if (!keepOld(record.oldSize)) {
        *reason = QStringLiteral("could not read its old tags for the undo journal");
        return std::nullopt;
    }
    return record;
}

WriteRecord::State WriteRecord::stateOf(int fd) const
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return State::Changed;
    if (status.st_size == newSize && (!writtenModifiedNs || *writtenModifiedNs == modifiedNs(fd))) {
        QCryptographicHash hash(hashAlgorithm);
        for (const Region &region : newRegions)
            hash.addData(readAt(fd, region.offset, region.length));
        if (hash.result() == newHash)
            return State::AsWritten;
    }
    if (status.st_size != oldSize)
        return State::Changed;
    qint64 position = 0;
    for (const FileContentsPlan::Piece &piece : restore) {
        if (!piece.isRange() && readAt(fd, position, piece.length) != piece.bytes)
            return State::Changed;
        position += piece.length;
    }
    return State::AsBefore;
}

FileContentsPlan WriteRecord::restorePlan() const
{
    FileContentsPlan plan(newSize);
    for (const FileContentsPlan::Piece &piece : restore) {
        if (piece.isRange())
            plan.appendRange(piece.offset, piece.length);
        else
            plan.appendBytes(piece.bytes);
    }
    return plan;
}

QDataStream &operator<<(QDataStream &out, const WriteRecord &record)
{
    out << record.path << record.oldSize << record.oldModifiedNs << record.newSize << qint32(record.newRegions.size());
    for (const WriteRecord::Region &region : record.newRegions)
        out << region.offset << region.length;
    out << record.newHash << qint32(record.restore.size());
    for (const FileContentsPlan::Piece &piece : record.restore)
        out << piece.offset << piece.length << piece.bytes;
    return out;
}

QDataStream &operator>>(QDataStream &in, WriteRecord &record)
{
    qint32 count = 0;
    in >> record.path >> record.oldSize >> record.oldModifiedNs >> record.newSize >> count;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        WriteRecord::Region region;
        in >> region.offset >> region.length;
        record.newRegions.append(region);
    }
    in >> record.newHash >> count;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        FileContentsPlan::Piece piece;
        in >> piece.offset >> piece.length >> piece.bytes;
        record.restore.push_back(piece);
    }
    return in;
}
