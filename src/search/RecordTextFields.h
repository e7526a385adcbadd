#pragma once

#include "album/ResultEntry.h"

#include <optional>

// A record's text field under its published key (the CLI's JSON keys), with its accessors,
// so code that treats every text of an album or track alike walks one table.
template <class Record>
struct TextField {
    const char *key;
    const std::optional<QString> &(Record::*get)() const;
    void (Record::*set)(std::optional<QString>);
};

// The album's text fields in JSON order.
inline const TextField<ResultEntry> albumTextFields[] = {
    {"artistName", &ResultEntry::artistName, &ResultEntry::setArtistName},
    {"albumName", &ResultEntry::albumName, &ResultEntry::setAlbumName},
    {"asinNumber", &ResultEntry::asinNumber, &ResultEntry::setAsinNumber},
    {"yearOfPublication", &ResultEntry::yearOfPublication, &ResultEntry::setYearOfPublication},
    {"genre", &ResultEntry::genre, &ResultEntry::setGenre},
    {"label", &ResultEntry::label, &ResultEntry::setLabel},
    {"coverUrl", &ResultEntry::coverUrl, &ResultEntry::setCoverUrl},
    {"id", &ResultEntry::id, &ResultEntry::setId},
    {"releaseGroupId", &ResultEntry::releaseGroupId, &ResultEntry::setReleaseGroupId},
    {"albumArtistId", &ResultEntry::albumArtistId, &ResultEntry::setAlbumArtistId},
};

// What tells an edition apart: only a catalogue that knows it gives it, so it is written only
// when present.
inline const TextField<ResultEntry> albumEditionFields[] = {
    {"country", &ResultEntry::country, &ResultEntry::setCountry},
    {"date", &ResultEntry::releaseDate, &ResultEntry::setReleaseDate},
    {"format", &ResultEntry::format, &ResultEntry::setFormat},
    {"barcode", &ResultEntry::barcode, &ResultEntry::setBarcode},
    {"catalogNumber", &ResultEntry::catalogNumber, &ResultEntry::setCatalogNumber},
    {"releaseType", &ResultEntry::releaseType, &ResultEntry::setReleaseType},
};

// The same for a track's text fields.
inline const TextField<Track> trackTextFields[] = {
    {"title", &Track::title, &Track::setTitle},
    {"artist", &Track::artist, &Track::setArtist},
    {"id", &Track::trackId, &Track::setTrackId},
    {"recordingId", &Track::recordingId, &Track::setRecordingId},
    {"artistId", &Track::artistId, &Track::setArtistId},
};
