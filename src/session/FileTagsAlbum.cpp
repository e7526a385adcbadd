#include "session/FileTagsAlbum.h"

#include "common/JobControl.h"
#include "files/FileHandler.h"

#include <algorithm>
#include <limits>

namespace {

// A disc or track number a tag states; nothing for none or 0.
std::optional<int> statedNumber(qint32 number)
{
    return number > 0 ? std::optional<int>(number) : std::nullopt;
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
        const std::optional<TagValues> tags = handler.readTags(
            files.at(i), result.cover ? FileHandler::CoverReading::Skip : FileHandler::CoverReading::Decode);
        if (!tags)
            continue;
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
        track->setDiscNumber(statedNumber(tags->discNumber));
        track->setNumberOnDisc(statedNumber(tags->trackNumber));
        if (!namesListedTrack(*result.tracks, *track))
            result.tracks->append(track);
    }
    sortByDiscAndNumber(*result.tracks);
    return result;
}
