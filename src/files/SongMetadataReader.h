#pragma once

#include "files/TagAPI.h"

#include <QString>
#include <QStringList>

// One file's tag values under the song metadata dictionary's keys, each read from the tag
// only when asked for: a renaming mask that uses three placeholders reads three values.
class SongMetadataReader {
public:
    // The text keys every full read inserts, in its order; a full read adds the identifiers
    // of IdentifierTags only when the file holds them.
    static const QStringList textKeys;

    explicit SongMetadataReader(const QString &path);

    // False for a file without any tag, or one that cannot be read: it has no values.
    bool hasTags() const;
    // The text under a text or identifier key ("" for a value the tag lacks), as the full
    // read gives it.
    QString value(const QString &key) const;
    // Every picture of the ID3v2 tag as a picture dictionary.
    QList<QVariantMap> pictures() const;

private:
    TagAPI m_tag;
};
