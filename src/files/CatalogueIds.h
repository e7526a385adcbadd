#pragma once

#include "files/TagValues.h"

// Where each catalogue identifier is kept: its key where values leave the core (the command
// line's JSON), TagLib's property name (Vorbis comment field; MP4 freeform atom by TagLib's
// mapping) and the description of its ID3v2 user text frame (the recording is an ID3v2
// unique file identifier instead, see Id3Identifiers).
struct CatalogueIdField {
    CatalogueId id;
    const char *key;
    const char *property;
    const char *id3Description;
};

inline constexpr std::array<CatalogueIdField, catalogueIdCount> catalogueIdFields{{
    {CatalogueId::MusicBrainzAlbum, "MusicBrainzAlbumId", "MUSICBRAINZ_ALBUMID", "MusicBrainz Album Id"},
    {CatalogueId::MusicBrainzReleaseGroup, "MusicBrainzReleaseGroupId", "MUSICBRAINZ_RELEASEGROUPID",
     "MusicBrainz Release Group Id"},
    {CatalogueId::MusicBrainzAlbumArtist, "MusicBrainzAlbumArtistId", "MUSICBRAINZ_ALBUMARTISTID",
     "MusicBrainz Album Artist Id"},
    {CatalogueId::MusicBrainzArtist, "MusicBrainzArtistId", "MUSICBRAINZ_ARTISTID", "MusicBrainz Artist Id"},
    {CatalogueId::MusicBrainzReleaseTrack, "MusicBrainzReleaseTrackId", "MUSICBRAINZ_RELEASETRACKID",
     "MusicBrainz Release Track Id"},
    {CatalogueId::MusicBrainzRecording, "MusicBrainzRecordingId", "MUSICBRAINZ_TRACKID", nullptr},
    {CatalogueId::Asin, "ASIN", "ASIN", "ASIN"},
}};
