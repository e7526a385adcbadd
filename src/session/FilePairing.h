#pragma once

#include "lineup/Lineup.h"

#include <QList>
#include <QStringList>

// The file rows beside the track rows, as the window shows them and tagging writes them:
// row i holds the file that takes track i, or nothing (an empty text, a free slot) when
// track i has no file; the files that pair with no track follow the last track's row. The
// window and the command line both pair files by these rules and no others.
namespace FilePairing {

// Lays the rows out for this many tracks: free slots up to the track count, none past it.
void align(QStringList &rows, qsizetype tracks);
// The files among the rows, in row order.
QStringList filesOf(const QStringList &rows);
// Tracks without a file, and files without a track.
qsizetype freeTracks(const QStringList &rows, qsizetype tracks);
qsizetype filesWithoutTrack(const QStringList &rows, qsizetype tracks);

// The rows a line-up makes: each track's file in its row, then the rest.
QStringList rowsOfLineup(const Lineup &lineup);

// Moves the files of the given rows (ascending) to the insertion point dropRow, counted in
// the rows as they were (the row the user saw). Onto a free slot, the files take the slot's
// place and leave free slots behind them in the rows of tracks.
void moveRows(QStringList &rows, const QList<int> &moved, int dropRow, bool ontoSlot, qsizetype tracks);
// Takes the files of the given rows out: a track's row becomes a free slot, so that no other
// file moves onto a track it was not paired with.
void removeRows(QStringList &rows, const QList<int> &removed, qsizetype tracks);

} // namespace FilePairing
