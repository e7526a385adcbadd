#pragma once

#include "album/ResultEntry.h"

#include <QImage>
#include <QStringList>
#include <optional>

class JobControl;

// The album that the tags of listed files give: the album fields of the first tagged file,
// one track for every track the tagged files name, in disc and track order, and the first
// cover found. Files without tags are passed over; no tagged file gives no album. Reads files
// only, on any thread; the session takes the result.
struct FileTagsAlbum {
    std::shared_ptr<ResultEntry> album; // null when no file has tags
    TrackListPtr tracks = std::make_shared<TrackList>();
    std::optional<QImage> cover;
    QString keywords; // " artist album", what a search for the album would be

    // Reports files read of all to the control, if any, and stops before the next file once
    // cancelled.
    static FileTagsAlbum read(const QStringList &files, JobControl *control = nullptr);
};
