#include "cli/Mp3FileCheck.h"

#include <QTextStream>

#include <QFile>
#include <QFileInfo>

namespace Mp3FileCheck {

namespace {

// How far past an ID3v2 tag the first audio frame is looked for; encoders leave at most a
// little padding or junk there. Without a tag the audio must start at the first byte, as
// any larger binary file would hold something that looks like a frame header somewhere.
constexpr qint64 searchWindow = 64 * 1024;

bool isFrameHeader(const unsigned char *b)
{
    return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0  // sync
           && (b[1] & 0x18) != 0x08               // MPEG version not reserved
           && (b[1] & 0x06) != 0x00               // layer not reserved
           && (b[2] & 0xF0) != 0xF0               // bit rate index not bad
           && (b[2] & 0x0C) != 0x0C;              // sampling rate not reserved
}

// The size of the ID3v2 tag at the start of the file, 0 when there is none.
qint64 id3v2TagSize(const QByteArray &head)
{
    if (head.size() < 10 || !head.startsWith("ID3"))
        return 0;
    const auto byte = [&](int i) { return qint64(static_cast<unsigned char>(head.at(i)) & 0x7F); };
    const qint64 body = (byte(6) << 21) | (byte(7) << 14) | (byte(8) << 7) | byte(9);
    const bool footer = static_cast<unsigned char>(head.at(5)) & 0x10;
    return 10 + body + (footer ? 10 : 0);
}

} // namespace

std::optional<QString> problemWith(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("is a folder, not an MP3 file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read (%1)").arg(file.errorString());

    const qint64 audioStart = id3v2TagSize(file.read(10));
    if (!file.seek(audioStart))
        return QStringLiteral("not an MP3 file (it ends inside its ID3 tag)");
    const QByteArray window = file.read(audioStart > 0 ? searchWindow : 4);
    const auto *bytes = reinterpret_cast<const unsigned char *>(window.constData());
    for (qsizetype i = 0; i + 4 <= window.size(); ++i) {
        if (isFrameHeader(bytes + i))
            return std::nullopt;
    }
    return QStringLiteral("not an MP3 file (no MPEG audio frame found)");
}

bool reportProblems(const QStringList &paths, const QString &command)
{
    QTextStream err(stderr);
    bool none = true;
    for (const QString &path : paths) {
        if (const auto problem = problemWith(path)) {
            err << "tagwright-cli " << command << ": " << path << ": " << *problem << "\n";
            none = false;
        }
    }
    return none;
}

} // namespace Mp3FileCheck
