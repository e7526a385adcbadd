#pragma once

#include <QString>

// Keys of the song metadata dictionary (a QVariantMap): one file's tag values as the file
// handler and the window exchange them. Values are texts, except "Genre" when written (a
// list of texts) and "Cover" (a QImage when read, a list of picture dictionaries when written).
inline const QString QVAlbumTag = QStringLiteral("Album");
inline const QString QVArtistAlbumTag = QStringLiteral("ArtistAlbum");
inline const QString QVGenreTag = QStringLiteral("Genre");
inline const QString QVYearTag = QStringLiteral("Year");
inline const QString QVLabelTag = QStringLiteral("Label");
inline const QString QVDiscsTag = QStringLiteral("Discs");
inline const QString QVTrackCountTag = QStringLiteral("TrackCount");
inline const QString QVCoverTag = QStringLiteral("Cover");
inline const QString QVArtistTrackTag = QStringLiteral("ArtistTrack");
inline const QString QVTrackNoTag = QStringLiteral("TrackNo");
inline const QString QVTitleTag = QStringLiteral("Title");
// The file's disc. Read from every tagged file ("" when unknown); written only for a track
// that knows its disc, with "Discs" as the count (without it, "Discs" is both).
inline const QString QVDiscNoTag = QStringLiteral("DiscNo");

// Catalogue identifiers (see IdentifierTags): read only when the file holds them; writing
// replaces each one, so a dictionary without a key removes it from the file.
inline const QString QVMusicBrainzAlbumIdTag = QStringLiteral("MusicBrainzAlbumId");
inline const QString QVMusicBrainzReleaseGroupIdTag = QStringLiteral("MusicBrainzReleaseGroupId");
inline const QString QVMusicBrainzAlbumArtistIdTag = QStringLiteral("MusicBrainzAlbumArtistId");
inline const QString QVMusicBrainzArtistIdTag = QStringLiteral("MusicBrainzArtistId");
inline const QString QVMusicBrainzReleaseTrackIdTag = QStringLiteral("MusicBrainzReleaseTrackId");
inline const QString QVMusicBrainzRecordingIdTag = QStringLiteral("MusicBrainzRecordingId");
inline const QString QVAsinTag = QStringLiteral("ASIN");

// Keys of a picture dictionary inside the written "Cover" list.
inline const QString QVPictureImageKey = QStringLiteral("Image");
inline const QString QVPictureTypeKey = QStringLiteral("Picture Type");
inline const QString QVPictureMimeTypeKey = QStringLiteral("Mime Type");
inline const QString QVPictureDescriptionKey = QStringLiteral("Description");
// Optional: the picture already encoded in its "Mime Type" (a QByteArray), so that writing
// one picture into many files encodes it once rather than once per file.
inline const QString QVPictureDataKey = QStringLiteral("Image Data");
