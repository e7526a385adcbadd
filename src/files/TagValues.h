#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The catalogue identifiers a file may carry, each under the name players and other taggers
// read in every format (see CatalogueIds).
enum class CatalogueId {
    MusicBrainzAlbum,
    MusicBrainzReleaseGroup,
    MusicBrainzAlbumArtist,
    MusicBrainzArtist,
    MusicBrainzReleaseTrack,
    MusicBrainzRecording,
    Asin,
};
inline constexpr int catalogueIdCount = 7;

// One file's tag values, the same for every format. Reading fills every text ("" for a value
// the file lacks) and every number (0 when unset); writing sets each value, so a value that
// is empty or 0 leaves the file without it.
struct TagValues {
    // Read: the track artist. Written: the track artist, or the album artist when absent.
    std::optional<QString> trackArtist;
    // Read: the album artist, else the track artist.
    QString albumArtist;
    QString album;
    QString title;
    qint32 year = 0;
    qint32 trackNumber = 0;
    qint32 trackCount = 0;
    // Written: the disc, or the disc count when 0 (an album that does not number its discs
    // is disc 2 of 2 on every file).
    qint32 discNumber = 0;
    qint32 discCount = 0;
    // Read: the file's first genre at most. Written: the file's genres.
    QStringList genres;
    std::array<QString, catalogueIdCount> ids;
    // Read: the file's first picture, once through JPEG; only when asked for.
    std::optional<QImage> cover;
    // Written: the front cover as JPEG, the file's only picture; empty leaves the pictures
    // as they are.
    QByteArray frontCoverJpeg;

    QString &id(CatalogueId which) { return ids[size_t(which)]; }
    const QString &id(CatalogueId which) const { return ids[size_t(which)]; }
};
