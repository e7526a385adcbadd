#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

class TagAPI;

// The catalogue identifiers a file carries, under their song metadata keys, held in ID3v2
// the way other taggers and players look for them: user-defined text frames named
// "MusicBrainz Album Id", "MusicBrainz Release Group Id", "MusicBrainz Album Artist Id",
// "MusicBrainz Artist Id", "MusicBrainz Release Track Id" and "ASIN", and the recording as
// a unique file identifier owned by "http://musicbrainz.org".
namespace IdentifierTags {

// Every identifier key, in the order a read inserts them.
const QStringList &keys();

// The identifier under `key` in the file's tag, "" when it holds none.
QString read(const TagAPI &tag, const QString &key);

// Stages every identifier: the ones the dictionary holds replace the file's, and the file
// loses those it does not hold, so no identifier of an earlier album stays behind.
void write(TagAPI &tag, const QVariantMap &metadata);

} // namespace IdentifierTags
