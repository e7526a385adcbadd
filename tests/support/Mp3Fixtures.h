#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

// Generates MP3 files for tests and benchmarks: a valid MPEG-1 Layer III frame sequence
// (128 kbit/s, 44.1 kHz, 417-byte frames) whose ancillary bytes follow a seeded pattern, so
// a test can tell one file's audio from another's and check that it came through unchanged.
namespace Mp3Fixtures {

// Size of one generated audio frame in bytes.
constexpr qint64 frameSize = 417;

// Whole frames of audio, at least `minimumBytes` long (at least one frame).
QByteArray audio(qint64 minimumBytes = 8 * frameSize, quint32 seed = 1);

// Writes `audio(minimumBytes, seed)` to `path`, untagged. Returns false when the file
// cannot be written.
bool writeMp3(const QString &path, qint64 minimumBytes = 8 * frameSize, quint32 seed = 1);

// Bytes of generated audio per second of playing time, as a reader that counts on the
// constant bit rate measures it.
constexpr qint64 bytesPerSecond = 128000 / 8;

// Writes an MP3 file with an ID3v2.4 tag made directly with TagLib (not through the
// application's own writer). `tags` uses the song metadata keys with text values
// ("Genre" may be a list; the disc is "DiscNo" when given, else "Discs"); "Cover" may hold
// JPEG bytes (QByteArray) for a front cover.
bool writeTaggedMp3(const QString &path, const QVariantMap &tags,
                    qint64 minimumBytes = 8 * frameSize, quint32 seed = 1);

// Eight frames of audio that a reader takes for `lengthMs` long: the first frame's VBR
// (Xing) header counts the frames of that playing time, so a file plays as long as a real
// track without taking its room.
QByteArray audioOfLength(qint64 lengthMs, quint32 seed = 1);

// The ID3v2.4 tag that writeTaggedMp3() puts in front of the audio.
QByteArray id3v2TagOf(const QVariantMap &tags);

// Tags for files of odd layouts, made with TagLib where it writes that kind: an ID3v2
// header of any version, flags and size; an ID3v2 tag with one title frame and `padding`
// zero bytes; an ID3v1 tag and an APEv2 tag with a title; a Lyrics3v2 block.
QByteArray id3v2Header(int version, char flags, qint64 size);
QByteArray id3v2Tag(const QString &title, int version = 4, char flags = 0, qint64 padding = 64);
QByteArray id3v1Tag(const QString &title);
QByteArray apeTag(const QString &title);
QByteArray lyrics3v2Block(const QByteArray &lyrics);

// A small JPEG picture of the given size, filled with a gradient.
QByteArray jpegPicture(int width = 64, int height = 48);

} // namespace Mp3Fixtures
