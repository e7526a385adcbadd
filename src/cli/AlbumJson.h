#pragma once

#include "search/ResultEntry.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// The command line's JSON form of an album: the record's fields under their own names, an
// absent text as null (never ""), "cover" as {"width", "height"} or null, and "trackList"
// as an array of {"title", "artist"} or null; a track read may also carry "discNumber",
// "trackNumber" (on its disc) and "length" (milliseconds). `search` writes it; `tag --album` reads it.
QJsonObject albumToJson(const ResultEntry &album);

// The album that a JSON object describes. Missing fields count as absent (texts, cover,
// track list) or 0 (counts); a "cover" object carries no picture and is not read back.
// A field of the wrong type gives nothing and a reason in *error.
std::optional<ResultEntry> albumFromJson(const QJsonObject &object, QString *error);
