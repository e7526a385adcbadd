#include "support/Mp3Fixtures.h"

#include "files/MetadataKeys.h"
#include "files/ImageEncoding.h"
#include "support/TestFiles.h"

#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>

namespace Mp3Fixtures {

namespace {

// MPEG-1 Layer III, no CRC, 128 kbit/s, 44.1 kHz, no padding, joint stereo, original.
constexpr unsigned char frameHeader[4] = {0xFF, 0xFB, 0x90, 0x44};
// Joint stereo side information; all zero, so a decoder finds no main data and plays
// silence, while the rest of the frame is ancillary data free to carry our pattern.
constexpr int sideInfoSize = 32;

// One frame holding each non-empty string as a field of its own.
void addTextFrame(TagLib::ID3v2::Tag &tag, const char *id, const QStringList &texts)
{
    TagLib::StringList fields;
    for (const QString &text : texts) {
        if (!text.isEmpty())
            fields.append(TagLib::String(text.toStdString(), TagLib::String::UTF8));
    }
    if (fields.isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    frame->setText(fields);
    tag.addFrame(frame);
}

QString numberPair(const QVariantMap &tags, const QString &numberKey, const QString &totalKey)
{
    const QString number = tags.value(numberKey).toString();
    const QString total = tags.value(totalKey).toString();
    if (total.isEmpty())
        return number;
    return number + u'/' + total;
}

} // namespace

QByteArray audio(qint64 minimumBytes, quint32 seed)
{
    const qint64 frames = std::max<qint64>(1, (minimumBytes + frameSize - 1) / frameSize);
    QByteArray bytes(frames * frameSize, '\0');
    quint32 state = seed ? seed : 1;
    for (qint64 f = 0; f < frames; ++f) {
        char *frame = bytes.data() + f * frameSize;
        std::copy(std::begin(frameHeader), std::end(frameHeader), frame);
        for (qint64 i = 4 + sideInfoSize; i < frameSize; ++i) {
            // xorshift32; 0xFF is avoided so no byte pair inside a frame looks like a sync word.
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            frame[i] = static_cast<char>((state & 0xFF) == 0xFF ? 0x7F : state & 0xFF);
        }
    }
    return bytes;
}

bool writeMp3(const QString &path, qint64 minimumBytes, quint32 seed)
{
    return writeBytes(path, audio(minimumBytes, seed));
}

QByteArray audioOfLength(qint64 lengthMs, quint32 seed)
{
    constexpr qint64 samplesPerFrame = 1152;
    constexpr qint64 sampleRate = 44100;
    constexpr int xingOffset = 4 + sideInfoSize;
    const quint32 frames = quint32((lengthMs * sampleRate + samplesPerFrame * 500) / (samplesPerFrame * 1000));
    QByteArray bytes = audio(8 * frameSize, seed);
    std::fill(bytes.begin() + xingOffset, bytes.begin() + frameSize, '\0');
    // "Xing", flags for the frame and byte counts, then the counts, all big-endian.
    const auto bigEndian = [](quint32 value) {
        const char bytes[4] = {char(value >> 24), char(value >> 16 & 0xFF), char(value >> 8 & 0xFF), char(value & 0xFF)};
        return QByteArray(bytes, 4);
    };
    const QByteArray xing = "Xing" + bigEndian(3) + bigEndian(frames) + bigEndian(quint32(frames * frameSize));
    bytes.replace(xingOffset, xing.size(), xing);
    return bytes;
}

QByteArray id3v2TagOf(const QVariantMap &tags)
{
    TagLib::ID3v2::Tag tag;
    addTextFrame(tag, "TPE1", {tags.value(MetadataKeys::trackArtist).toString()});
    addTextFrame(tag, "TPE2", {tags.value(MetadataKeys::albumArtist).toString()});
    addTextFrame(tag, "TALB", {tags.value(MetadataKeys::album).toString()});
    addTextFrame(tag, "TIT2", {tags.value(MetadataKeys::title).toString()});
    addTextFrame(tag, "TDRC", {tags.value(MetadataKeys::year).toString()});
    addTextFrame(tag, "TRCK", {numberPair(tags, MetadataKeys::trackNumber, MetadataKeys::trackCount)});
    addTextFrame(tag, "TPOS", {numberPair(tags, tags.contains(MetadataKeys::discNumber) ? MetadataKeys::discNumber : MetadataKeys::discCount, MetadataKeys::discCount)});
    addTextFrame(tag, "TCON", tags.value(MetadataKeys::genre).toStringList());
    const QByteArray cover = tags.value(MetadataKeys::cover).toByteArray();
    if (!cover.isEmpty()) {
        auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setMimeType("image/jpeg");
        frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        frame->setPicture(TagLib::ByteVector(cover.constData(), static_cast<unsigned>(cover.size())));
        tag.addFrame(frame);
    }
    const TagLib::ByteVector rendered = tag.render(TagLib::ID3v2::v4);
    return QByteArray(rendered.data(), rendered.size());
}

bool writeTaggedMp3(const QString &path, const QVariantMap &tags, qint64 minimumBytes, quint32 seed)
{
    return writeBytes(path, id3v2TagOf(tags) + audio(minimumBytes, seed));
}

QByteArray id3v2Header(int version, char flags, qint64 size)
{
    const TagLib::ByteVector synchSafe = TagLib::ID3v2::SynchData::fromUInt(static_cast<unsigned int>(size));
    return QByteArray("ID3") + char(version) + '\0' + flags + QByteArray(synchSafe.data(), synchSafe.size());
}

QByteArray id3v2Tag(const QString &title, int version, char flags, qint64 padding)
{
    TagLib::ID3v2::TextIdentificationFrame frame("TIT2", TagLib::String::Latin1);
    frame.setText(TagLib::String(title.toStdString(), TagLib::String::UTF8));
    const TagLib::ByteVector body = frame.render();
    return id3v2Header(version, flags, body.size() + padding) + QByteArray(body.data(), body.size())
           + QByteArray(padding, '\0');
}

QByteArray id3v1Tag(const QString &title)
{
    TagLib::ID3v1::Tag tag;
    tag.setTitle(TagLib::String(title.toStdString(), TagLib::String::UTF8));
    const TagLib::ByteVector rendered = tag.render();
    return QByteArray(rendered.data(), rendered.size());
}

QByteArray apeTag(const QString &title)
{
    TagLib::APE::Tag tag;
    tag.setTitle(TagLib::String(title.toStdString(), TagLib::String::UTF8));
    const TagLib::ByteVector rendered = tag.render();
    return QByteArray(rendered.data(), rendered.size());
}

QByteArray lyrics3v2Block(const QByteArray &lyrics)
{
    // Fields of a three-letter name and a five-digit size; the block's size counts from
    // "LYRICSBEGIN" up to the size itself.
    const QByteArray block = "LYRICSBEGININD0000210LYR" + QByteArray::number(lyrics.size()).rightJustified(5, '0') + lyrics;
    return block + QByteArray::number(block.size()).rightJustified(6, '0') + "LYRICS200";
}

QByteArray jpegPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) % 256));
    return encodedImage(image, "JPEG");
}

} // namespace Mp3Fixtures
