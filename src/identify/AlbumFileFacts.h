#pragma once

#include "lineup/FileClues.h"

#include <QString>
#include <optional>

// What identifying an album takes from one of its files: the line-up's clues (path, album,
// title, disc and number, length) and the artists, year and MusicBrainz release the tags
// name. The one place where identifying reads files.
struct AlbumFileFacts {
    FileClues clues;
    std::optional<QString> artist;
    std::optional<QString> albumArtist; // the album artist, else the artist
    int year = 0;                       // 0 without one
    std::optional<QString> releaseId;   // the MusicBrainz album id a tagger wrote

    // A file that cannot be read offers its path alone.
    static AlbumFileFacts read(const QString &path);
    // Whether the path is named like an audio file Tagwright tags (by its extension, in any case).
    static bool isTaggable(const QString &path);
};
