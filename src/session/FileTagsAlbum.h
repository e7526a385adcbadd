#pragma once

#include "album/ResultEntry.h"

#include <QImage>
#include <QStringList>
#include <optional>

class JobControl;

// The album that the tags of listed files give, read in list order: the album fields of the
// first file, one track per file up to the first file without tags, and the first cover found.
// An untagged first file gives no album. Reads files only, on any thread; the session takes
// the result.
struct FileTagsAlbum {
    std::shared_ptr<ResultEntry> album; // null when the first file has no tags
    TrackListPtr tracks = std::make_shared<TrackList>();
    std::optional<QImage> cover;
    QString keywords; // " artist album", what a search for the album would be

    // Reports files read of all to the control, if any, and stops before the next file once
    // cancelled.
    static FileTagsAlbum read(const QStringList &files, JobControl *control = nullptr);
};
