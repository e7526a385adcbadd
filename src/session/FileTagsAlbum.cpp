#include "session/FileTagsAlbum.h"

#include "common/JobControl.h"
#include "files/FileHandler.h"
#include "files/SongMetadata.h"
#include "search/IntValue.h"

#include <algorithm>
#include <limits>

namespace {

std::optional<QString> textFor(const QVariantMap &tags, const QString &key)
{
    if (!tags.contains(key))
        return std::nullopt;
    return tags.value(key).toString();
}

// A disc or track number a tag states ("3" or "3/12"); nothing for none or 0.
std::optional<int> numberFor(const QVariantMap &tags, const QString &key)
{
    const qint32 number = intValue(tags.value(key).toString());
    return number > 0 ? std::optional<int>(number) : std::nullopt;
}

std::shared_ptr<ResultEntry> albumOf(const QVariantMap &tags)
{
    auto album = std::make_shared<ResultEntry>();
    album->setArtistName(textFor(tags, QVArtistAlbumTag));
    album->setAlbumName(textFor(tags, QVAlbumTag));
    album->setYearOfPublication(textFor(tags, QVYearTag));
    album->setGenre(textFor(tags, QVGenreTag));
    album->setLabel(textFor(tags, QVLabelTag));
    album->setNumberOfTracks(intValue(textFor(tags, QVTrackCountTag).value_or(QString())));
    album->setNumberOfDiscs(intValue(textFor(tags, QVDiscsTag).value_or(QString())));
    return album;
}

// Tracks in disc and track order: a track without a disc counts as on the first, one without
// a number comes after the numbered ones of its disc; ties keep the files' order.
void sortByDiscAndNumber(TrackList &tracks)
{
    const auto key = [](const Track &track) {
        return std::pair(track.discNumber().value_or(1), track.numberOnDisc().value_or(std::numeric_limits<int>::max()));
    };
    std::stable_sort(tracks.begin(), tracks.end(), [&](const auto &a, const auto &b) { return key(*a) < key(*b); });
}

// Whether a track of that disc and number is listed already: two files naming the same track
// name one track.
bool namesListedTrack(const TrackList &tracks, const Track &track)
{
    return track.numberOnDisc() && std::any_of(tracks.begin(), tracks.end(), [&](const auto &listed) {
               return listed->numberOnDisc() == track.numberOnDisc()
                   && listed->discNumber().value_or(1) == track.discNumber().value_or(1);
           });
}

} // namespace

FileTagsAlbum FileTagsAlbum::read(const QStringList &files, JobControl *control)
{
    FileTagsAlbum result;
    FileHandler handler;
    for (qsizetype i = 0; i < files.size() && !cancelRequested(control); ++i) {
        reportProgress(control, i, files.size());
        // Only the first cover found is shown; later files' covers are not decoded.
        const QVariantMap tags = handler.readMetaDataFromMp3File(
            files.at(i), result.cover ? FileHandler::CoverReading::Skip : FileHandler::CoverReading::Decode);
        if (tags.isEmpty())
            continue;
        if (!result.album) {
            result.album = albumOf(tags);
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
        track->setDiscNumber(numberFor(tags, QVDiscNoTag));
        track->setNumberOnDisc(numberFor(tags, QVTrackNoTag));
        if (!namesListedTrack(*result.tracks, *track))
            result.tracks->append(track);
    }
    sortByDiscAndNumber(*result.tracks);
    return result;
}
