#pragma once

#include "files/TagValues.h"

#include <QString>
#include <QVariantMap>

// The names one file's tag values go by where they leave the core (the command line's
// JSON), and the map of them.
namespace MetadataKeys {

inline const QString album = QStringLiteral("Album");
inline const QString albumArtist = QStringLiteral("ArtistAlbum");
inline const QString genre = QStringLiteral("Genre");
inline const QString year = QStringLiteral("Year");
inline const QString label = QStringLiteral("Label");
inline const QString discCount = QStringLiteral("Discs");
inline const QString trackCount = QStringLiteral("TrackCount");
inline const QString cover = QStringLiteral("Cover");
inline const QString trackArtist = QStringLiteral("ArtistTrack");
inline const QString trackNumber = QStringLiteral("TrackNo");
inline const QString title = QStringLiteral("Title");
inline const QString discNumber = QStringLiteral("DiscNo");

// The values under these names: empty for an untagged file; for a tagged one every text
// name ("" for a value it lacks, numbers as decimal text, the label always ""), the
// catalogue identifiers it holds (CatalogueIds), and "Cover" (a QImage) when read.
QVariantMap toMap(const std::optional<TagValues> &values);

} // namespace MetadataKeys
