#include "files/SongMetadataReader.h"

#include "files/IdentifierTags.h"
#include "files/SongMetadata.h"

namespace {

QString formatPositive(qint32 value)
{
    return value > 0 ? QString::number(value) : QStringLiteral("");
}

} // namespace

const QStringList SongMetadataReader::textKeys = {
    QVArtistTrackTag, QVArtistAlbumTag, QVAlbumTag, QVTitleTag, QVYearTag,
    QVTrackNoTag, QVTrackCountTag, QVDiscNoTag, QVDiscsTag, QVGenreTag, QVLabelTag,
};

SongMetadataReader::SongMetadataReader(const QString &path)
{
    m_tag.examineFile(path);
}

bool SongMetadataReader::hasTags() const
{
    return m_tag.v1TagPresent() || m_tag.v2TagPresent();
}

QString SongMetadataReader::value(const QString &key) const
{
    const QString empty = QStringLiteral("");
    if (key == QVArtistTrackTag)
        return m_tag.getArtist().value_or(empty);
    if (key == QVArtistAlbumTag) {
        // The album artist, else the track artist.
        const QList<id3V2Frame> albumArtists = m_tag.getFrame(QStringLiteral("TPE2"));
        return albumArtists.isEmpty() ? m_tag.getArtist().value_or(empty) : albumArtists.first().getTextFromFrame();
    }
    if (key == QVAlbumTag)
        return m_tag.getAlbum().value_or(empty);
    if (key == QVTitleTag)
        return m_tag.getTitle().value_or(empty);
    if (key == QVYearTag)
        return formatPositive(m_tag.getYear());
    if (key == QVTrackNoTag)
        return formatPositive(m_tag.getTrack());
    if (key == QVTrackCountTag)
        return formatPositive(m_tag.getTotalNumberTracks());
    if (key == QVDiscNoTag)
        return formatPositive(m_tag.getDisk());
    if (key == QVDiscsTag)
        return formatPositive(m_tag.getTotalNumberDisks());
    if (key == QVGenreTag) {
        const QStringList genres = m_tag.getGenreNames();
        return genres.isEmpty() ? empty : genres.first();
    }
    if (IdentifierTags::keys().contains(key))
        return IdentifierTags::read(m_tag, key);
    return empty;   // the label, which ID3 files do not carry here
}

QList<QVariantMap> SongMetadataReader::pictures() const
{
    return m_tag.getImage();
}
