#include "files/mpeg/MpegTagFile.h"

#include "files/ImageEncoding.h"
#include "files/mpeg/Id3Identifiers.h"

MpegTagFile::MpegTagFile(const QString &path)
{
    m_tags.examineFile(path);
}

QString MpegTagFile::problem()
{
    return m_tags.mp3Problem();
}

std::optional<TagValues> MpegTagFile::read(CoverReading cover)
{
    if (!m_tags.v1TagPresent() && !m_tags.v2TagPresent())
        return std::nullopt;
    TagValues values;
    values.trackArtist = m_tags.getArtist().value_or(QString());
    const QList<Id3TextFrame> albumArtists = m_tags.getFrame(QStringLiteral("TPE2"));
    values.albumArtist = albumArtists.isEmpty() ? *values.trackArtist : albumArtists.first().getTextFromFrame();
    values.album = m_tags.getAlbum().value_or(QString());
    values.title = m_tags.getTitle().value_or(QString());
    values.year = qMax(m_tags.getYear(), 0);
    values.trackNumber = qMax(m_tags.getTrack(), 0);
    values.trackCount = qMax(m_tags.getTotalNumberTracks(), 0);
    values.discNumber = qMax(m_tags.getDisk(), 0);
    values.discCount = qMax(m_tags.getTotalNumberDisks(), 0);
    const QStringList genres = m_tags.getGenreNames();
    if (!genres.isEmpty())
        values.genres = QStringList{genres.first()};
    Id3Identifiers::read(m_tags, values);
    if (cover == CoverReading::Decode) {
        // The cover reads as the first picture after a trip through JPEG; a picture that
        // does not survive the trip gives no cover.
        if (const std::optional<QImage> picture = m_tags.firstPicture()) {
            const QImage image = QImage::fromData(encodedImage(*picture, "JPEG"));
            if (!image.isNull())
                values.cover = image;
        }
    }
    return values;
}

std::optional<qint64> MpegTagFile::lengthMs()
{
    return m_tags.audioLengthMs();
}

bool MpegTagFile::stageWrite(const TagValues &values, DurableWriteBatch &batch, QString *reason)
{
    m_tags.setArtist(values.trackArtist.value_or(values.albumArtist));
    m_tags.setTitle(values.title);
    m_tags.setAlbum(values.album);
    m_tags.setGenreName(values.genres);
    m_tags.setYear(values.year);
    m_tags.setTrack(values.trackNumber, values.trackCount);
    m_tags.setDisk(values.discNumber > 0 ? values.discNumber : values.discCount, values.discCount);
    if (!values.frontCoverJpeg.isEmpty())
        m_tags.setFrontCover(values.frontCoverJpeg);
    m_tags.setComments(QStringLiteral(""));
    m_tags.setFrame(Id3TextFrame(QStringLiteral("TPE2"), values.albumArtist), true);
    Id3Identifiers::write(m_tags, values);
    return m_tags.updateFile(batch, reason);
}

bool MpegTagFile::stageRemoval(DurableWriteBatch &batch, QString *reason)
{
    return m_tags.dropTag(batch, reason);
}
