#pragma once

#include "album/Track.h"

#include <QList>
#include <optional>

// Where a track of a several-disc album sits, as tagging writes it: disc `disc` of `discs`,
// number `number` of the `tracks` tracks on that disc.
struct DiscPosition {
    qint32 disc = 0;
    qint32 discs = 0;
    qint32 number = 0;
    qint32 tracks = 0;

    // One entry per track of the list: a position for each track that knows its disc (1 or
    // more), nothing for the others, which are numbered across the whole list as before.
    // The disc count is the album's, or the highest disc of the list when that is larger
    // (an album may not say, or say too few). A track that knows its disc but not its number
    // on it takes its place among that disc's tracks in the list.
    static QList<std::optional<DiscPosition>> ofTracks(const TrackList &list, qint32 albumDiscs);
};
