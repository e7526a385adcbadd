#pragma once

#include "album/ResultEntry.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// The command line's JSON form of an album: the record's fields under their own names, an
// absent text or number as null (never "" or 0), "cover" as {"width", "height"} or null, and
// "trackList" as an array of {"title", "artist", "discNumber", "trackNumber", "length", "id",
// "recordingId", "artistId"} or null; "country", "date", "format", "barcode", "catalogNumber"
// and "releaseType" only where the album has them. `search` and `album` write it; `tag
// --album` reads it.
QJsonObject albumToJson(const ResultEntry &album);

// The album that a JSON object describes. Missing fields count as absent (texts, cover,
// track list) or 0 (counts); a "cover" object carries no picture and is not read back.
// A field of the wrong type gives nothing and a reason in *error.
std::optional<ResultEntry> albumFromJson(const QJsonObject &object, QString *error);
