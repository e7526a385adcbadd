#pragma once

#include "lineup/FileClues.h"
#include "album/ResultEntry.h"

#include <QList>
#include <QStringList>

// Files paired with the tracks of an album, each file with at most one track and each track
// with at most one file, by the pairing of least total doubt over all of them; a file that
// matches no track well is left unpaired, as is a track that no file matches.
// The new file order puts the paired files in the order of their tracks and the unpaired
// ones after them in their old order (FilePairing lays the rows out from it).
struct Lineup {
    QList<int> fileOfTrack; // per track row: the index of its file among those given, or -1
    QStringList order;      // the files given, in their new order
    qsizetype matched = 0;

    // Pairs the files with the tracks (in their rows) of an album; the album's name and disc
    // count say how far its files' tags can be trusted.
    static Lineup match(const QList<FileClues> &files, const TrackList &tracks, const ResultEntry &album);

    qsizetype unmatched() const { return order.size() - matched; }
};
