#include "files/TagLayout.h"

#include <taglib/apefooter.h>
#include <taglib/id3v2extendedheader.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/tfile.h>

#include <algorithm>
#include <memory>
#include <optional>

using namespace TagLib;

namespace TagLayout {

namespace {

constexpr qint64 id3v2HeaderSize = 10;   // the footer has the same size
constexpr qint64 id3v1Size = 128;
constexpr qint64 lyrics3v2TailSize = 15;   // six digits of size and "LYRICS200"

ByteVector bytesAt(File &file, qint64 offset, qint64 length)
{
    if (offset < 0 || offset + length > file.length())
        return {};
    file.seek(long(offset));
    return file.readBlock(static_cast<unsigned long>(length));
}

// The size in an ID3v2 header or footer is four 7-bit bytes. TagLib reads other bytes
// leniently, which would take part of the audio for the tag.
bool sizeReadable(const ByteVector &header)
{
    return std::none_of(header.begin() + 6, header.end(), [](char byte) { return (static_cast<unsigned char>(byte) & 0x80) != 0; });
}

struct FrameWalk {
    int frames = 0;
    bool restIsPadding = true;
};

// Walks the frames of a tag's body the way TagLib's parser does, which stops at the first
// byte that cannot start a frame. What follows must be padding: anything else is either
// audio that the tag's size takes in, or frames TagLib would drop when it writes the tag.
FrameWalk walkFrames(const ByteVector &body, const ID3v2::Header &header)
{
    // TagLib undoes ID3v2.3's unsynchronisation of the whole tag before reading frames.
    const ByteVector data = header.unsynchronisation() && header.majorVersion() <= 3 ? ID3v2::SynchData::decode(body) : body;
    unsigned int position = 0;
    if (header.extendedHeader()) {
        ID3v2::ExtendedHeader extended;
        extended.setData(data);
        if (extended.size() <= data.size())
            position = extended.size();
    }
    const unsigned int frameHeaderSize = ID3v2::Frame::headerSize(header.majorVersion());
    FrameWalk walk;
    while (position < data.size() && data[int(position)] != 0) {
        const std::unique_ptr<ID3v2::Frame> frame(ID3v2::FrameFactory::instance()->createFrame(data.mid(position), &header));
        if (!frame || frame->size() == 0)
            break;
        position += frameHeaderSize + frame->size();
        ++walk.frames;
    }
    walk.restIsPadding = position <= data.size() && std::all_of(data.begin() + position, data.end(), [](char byte) { return byte == 0; });
    return walk;
}

struct ID3v2Tag {
    qint64 end = 0;
    int frames = 0;
    bool endsPastTheFile = false;
    QString damage;
};

ID3v2Tag readID3v2(File &file, qint64 offset)
{
    ID3v2Tag tag;
    const ByteVector headerBytes = bytesAt(file, offset, id3v2HeaderSize);
    tag.end = offset + id3v2HeaderSize;
    if (!headerBytes.startsWith("ID3")) {
        tag.damage = QStringLiteral("its ID3v2 tag is damaged (its header cannot be read)");
        return tag;
    }
    if (!sizeReadable(headerBytes)) {
        tag.damage = QStringLiteral("its ID3v2 tag is damaged (its size cannot be read)");
        return tag;
    }
    const ID3v2::Header header(headerBytes);
    tag.end += header.tagSize();
    tag.endsPastTheFile = tag.end > file.length();
    if (header.majorVersion() < 2 || header.majorVersion() > 4)
        tag.damage = QStringLiteral("its ID3v2 tag has the unknown version 2.%1").arg(header.majorVersion());
    else if (tag.endsPastTheFile)
        tag.damage = QStringLiteral("its ID3v2 tag is damaged (it claims more bytes than the file holds)");
    if (!tag.damage.isEmpty())
        return tag;

    const FrameWalk walk = walkFrames(bytesAt(file, offset + id3v2HeaderSize, header.tagSize()), header);
    tag.frames = walk.frames;
    if (!walk.restIsPadding)
        tag.damage = QStringLiteral("its ID3v2 tag is damaged (its size takes in bytes that are neither frames nor padding)");
    // Only ID3v2.4 has a footer; a flag without one behind the tag would claim audio.
    if (header.majorVersion() == 4 && header.footerPresent() && bytesAt(file, tag.end, 3) == "3DI")
        tag.end += id3v2HeaderSize;
    return tag;
}

std::optional<Region> id3v1Ending(File &file, qint64 end)
{
    if (bytesAt(file, end - id3v1Size, 3) != "TAG")
        return std::nullopt;
    return Region{Kind::ID3v1, end - id3v1Size, end};
}

std::optional<Region> apeEnding(File &file, qint64 end)
{
    const qint64 footerSize = APE::Footer::size();
    const ByteVector footerBytes = bytesAt(file, end - footerSize, footerSize);
    if (!footerBytes.startsWith("APETAGEX"))
        return std::nullopt;
    const APE::Footer footer(footerBytes);
    const qint64 offset = end - footer.completeTagSize();
    if (footer.tagSize() < footerSize || (footer.headerPresent() && bytesAt(file, offset, 8) != "APETAGEX"))
        return std::nullopt;
    return Region{Kind::APE, offset, end};
}

std::optional<Region> lyrics3v2Ending(File &file, qint64 end)
{
    const ByteVector tail = bytesAt(file, end - lyrics3v2TailSize, lyrics3v2TailSize);
    if (tail.mid(6) != "LYRICS200" || !std::all_of(tail.begin(), tail.begin() + 6, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    // The size counts the block from "LYRICSBEGIN" up to the size itself.
    const qint64 offset = end - lyrics3v2TailSize - QByteArray(tail.data(), 6).toLongLong();
    if (bytesAt(file, offset, 11) != "LYRICSBEGIN")
        return std::nullopt;
    return Region{Kind::Lyrics3v2, offset, end};
}

std::optional<Region> appendedID3v2Ending(File &file, qint64 end)
{
    const ByteVector footer = bytesAt(file, end - id3v2HeaderSize, id3v2HeaderSize);
    if (!footer.startsWith("3DI") || !sizeReadable(footer))
        return std::nullopt;
    const qint64 offset = end - 2 * id3v2HeaderSize - ID3v2::SynchData::toUInt(footer.mid(6, 4));
    // The header repeats the footer's version, flags and size.
    const ByteVector header = bytesAt(file, offset, id3v2HeaderSize);
    if (!header.startsWith("ID3") || header.mid(3) != footer.mid(3))
        return std::nullopt;
    return Region{Kind::ID3v2, offset, end};
}

} // namespace

FrontTags frontTags(File &file, qint64 offset)
{
    const ID3v2Tag first = readID3v2(file, offset);
    FrontTags front{offset, first.end, first.endsPastTheFile, first.damage};
    // Some taggers left copies of a tag right behind it; they belong to the tag. A header
    // without a frame behind it does not: its bytes are audio.
    while (front.damage.isEmpty() && bytesAt(file, front.end, 3) == "ID3") {
        const ID3v2Tag copy = readID3v2(file, front.end);
        if (!copy.damage.isEmpty() || copy.frames == 0)
            break;
        front.end = copy.end;
    }
    return front;
}

QList<Region> trailingTags(File &file, qint64 floor)
{
    QList<Region> tags;
    qint64 end = file.length();
    while (true) {
        std::optional<Region> tag;
        for (const auto ending : {id3v1Ending, apeEnding, lyrics3v2Ending, appendedID3v2Ending}) {
            if (!tag)
                tag = ending(file, end);
        }
        if (!tag || tag->offset < floor)
            return tags;
        tags.prepend(*tag);
        end = tag->offset;
    }
}

} // namespace TagLayout
