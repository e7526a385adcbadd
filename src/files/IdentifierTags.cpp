#include "files/IdentifierTags.h"

#include "files/SongMetadata.h"
#include "files/TagAPI.h"

namespace {

// The owner of the unique file identifier that holds the recording.
const QString recordingOwner = QStringLiteral("http://musicbrainz.org");

struct UserTextIdentifier {
    QString key;
    QString description;
};

const QList<UserTextIdentifier> &userTextIdentifiers()
{
    static const QList<UserTextIdentifier> identifiers{
        {QVMusicBrainzAlbumIdTag, QStringLiteral("MusicBrainz Album Id")},
        {QVMusicBrainzReleaseGroupIdTag, QStringLiteral("MusicBrainz Release Group Id")},
        {QVMusicBrainzAlbumArtistIdTag, QStringLiteral("MusicBrainz Album Artist Id")},
        {QVMusicBrainzArtistIdTag, QStringLiteral("MusicBrainz Artist Id")},
        {QVMusicBrainzReleaseTrackIdTag, QStringLiteral("MusicBrainz Release Track Id")},
        {QVAsinTag, QStringLiteral("ASIN")},
    };
    return identifiers;
}

} // namespace

namespace IdentifierTags {

const QStringList &keys()
{
    static const QStringList all = [] {
        QStringList list;
        for (const UserTextIdentifier &identifier : userTextIdentifiers())
            list.append(identifier.key);
        list.append(QVMusicBrainzRecordingIdTag);
        return list;
    }();
    return all;
}

QString read(const TagAPI &tag, const QString &key)
{
    if (key == QVMusicBrainzRecordingIdTag)
        return QString::fromUtf8(tag.getUniqueFileIdentifier(recordingOwner).value_or(QByteArray()));
    for (const UserTextIdentifier &identifier : userTextIdentifiers()) {
        if (identifier.key == key)
            return tag.getUserText(identifier.description).value_or(QString());
    }
    return {};
}

void write(TagAPI &tag, const QVariantMap &metadata)
{
    for (const UserTextIdentifier &identifier : userTextIdentifiers())
        tag.setUserText(identifier.description, metadata.value(identifier.key).toString());
    // The frame holds bytes; an identifier is plain ASCII, which UTF-8 keeps byte for byte.
    tag.setUniqueFileIdentifier(recordingOwner, metadata.value(QVMusicBrainzRecordingIdTag).toString().toUtf8());
}

} // namespace IdentifierTags
