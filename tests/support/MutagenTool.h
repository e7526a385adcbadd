#pragma once

#include <QJsonObject>
#include <QStringList>
#include <QString>

// The independent reader and writer of the file tests: tests/files/mutagen_tags.py for ID3
// and tests/files/audio_formats.py for FLAC, Ogg and MP4, run with the system's python3,
// which carries python3-mutagen.
namespace MutagenTool {

// The file's tags as mutagen reads them (see the script for the form); empty on failure.
QJsonObject dump(const QString &path);
// One text frame of a tag layout to write; encoding 0 Latin-1, 1 UTF-16, 2 UTF-16BE, 3 UTF-8.
QJsonObject textFrame(const char *id, const QStringList &text, int encoding = 3);
// Tags the file as `layout` says (see the script); false when mutagen failed.
bool write(const QString &path, const QJsonObject &layout);

// A FLAC, Ogg or MP4 file's tags, pictures and a digest of its audio (see the script);
// empty on failure.
QJsonObject readFormat(const QString &path);
// Puts ID3v2, APEv2 and ID3v1 tags on a FLAC file, as some rippers do.
bool addRippersTags(const QString &path);

} // namespace MutagenTool
