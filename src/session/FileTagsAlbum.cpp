#include "session/FileTagsAlbum.h"

#include "common/JobControl.h"
#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "album/IntValue.h"

namespace {

std::optional<QString> textFor(const QVariantMap &tags, const QString &key)
{
    if (!tags.contains(key))
        return std::nullopt;
    return tags.value(key).toString();
}

} // namespace

FileTagsAlbum FileTagsAlbum::read(const QStringList &files, JobControl *control)
{
    FileTagsAlbum result;
    FileHandler handler;
    for (qsizetype i = 0; i < files.size() && !cancelRequested(control); ++i) {
        const QString &path = files.at(i);
        reportProgress(control, i, files.size());
        // Only the first cover found is shown; later files' covers are not decoded.
        const QVariantMap tags = handler.readMetaDataFromMp3File(
            path, result.cover ? FileHandler::CoverReading::Skip : FileHandler::CoverReading::Decode);
        if (tags.isEmpty())
            break;
        if (!result.album) {
            result.album = std::make_shared<ResultEntry>();
            result.album->setArtistName(textFor(tags, QVArtistAlbumTag));
            result.album->setAlbumName(textFor(tags, QVAlbumTag));
            result.album->setYearOfPublication(textFor(tags, QVYearTag));
            result.album->setGenre(textFor(tags, QVGenreTag));
            result.album->setLabel(textFor(tags, QVLabelTag));
            result.album->setNumberOfTracks(intValue(textFor(tags, QVTrackCountTag).value_or(QString())));
            result.album->setNumberOfDiscs(intValue(textFor(tags, QVDiscsTag).value_or(QString())));
            // A missing artist or title leaves its place empty.
            result.keywords = QStringLiteral(" %1 %2").arg(textFor(tags, QVArtistAlbumTag).value_or(QString()),
                                                           textFor(tags, QVAlbumTag).value_or(QString()));
        }
        const QVariant cover = tags.value(QVCoverTag);
        if (!result.cover && cover.typeId() == QMetaType::QImage)
            result.cover = cover.value<QImage>();
        auto track = std::make_shared<Track>();
        track->setTitle(textFor(tags, QVTitleTag));
        track->setArtist(textFor(tags, QVArtistTrackTag));
        result.tracks->append(track);
    }
    return result;
}
