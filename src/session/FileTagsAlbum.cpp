#include "session/FileTagsAlbum.h"

#include "common/JobControl.h"
#include "files/FileHandler.h"

FileTagsAlbum FileTagsAlbum::read(const QStringList &files, JobControl *control)
{
    FileTagsAlbum result;
    FileHandler handler;
    for (qsizetype i = 0; i < files.size() && !cancelRequested(control); ++i) {
        const QString &path = files.at(i);
        reportProgress(control, i, files.size());
        // Only the first cover found is shown; later files' covers are not decoded.
        const std::optional<TagValues> tags = handler.readTags(
            path, result.cover ? FileHandler::CoverReading::Skip : FileHandler::CoverReading::Decode);
        if (!tags)
            break;
        const auto number = [](qint32 value) { return value > 0 ? QString::number(value) : QString(); };
        if (!result.album) {
            result.album = std::make_shared<ResultEntry>();
            result.album->setArtistName(tags->albumArtist);
            result.album->setAlbumName(tags->album);
            result.album->setYearOfPublication(number(tags->year));
            result.album->setGenre(tags->genres.value(0));
            result.album->setLabel(QString());
            result.album->setNumberOfTracks(tags->trackCount);
            result.album->setNumberOfDiscs(tags->discCount);
            result.keywords = QStringLiteral(" %1 %2").arg(tags->albumArtist, tags->album);
        }
        if (!result.cover && tags->cover)
            result.cover = tags->cover;
        auto track = std::make_shared<Track>();
        track->setTitle(tags->title);
        track->setArtist(tags->trackArtist.value_or(QString()));
        result.tracks->append(track);
    }
    return result;
}
