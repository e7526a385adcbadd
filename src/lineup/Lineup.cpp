#include "lineup/Lineup.h"

#include "lineup/Assignment.h"
#include "lineup/PairScore.h"

#include <algorithm>

Lineup Lineup::match(const QList<FileClues> &files, const TrackList &tracks, const ResultEntry &album)
{
    const int fileCount = int(files.size());
    const int trackCount = int(tracks.size());
    // What a pair gains over no pair at all: never below 0, so leaving a pair out never
    // pays, and a pair that gains nothing is no pair.
    std::vector<double> gain(size_t(fileCount) * size_t(trackCount));
    const PairScore score(tracks, album);
    for (int f = 0; f < fileCount; ++f) {
        const QList<double> scores = score.scores(files[f]);
        for (int t = 0; t < trackCount; ++t)
            gain[size_t(f) * size_t(trackCount) + size_t(t)] = std::max(scores[t] - PairScore::noMatch, 0.0);
    }
    std::vector<double> cost(gain.size());
    std::transform(gain.cbegin(), gain.cend(), cost.begin(), [](double g) { return -g; });
    const QList<int> trackOfFile = cheapestAssignment(cost, fileCount, trackCount);

    Lineup lineup;
    lineup.fileOfTrack.fill(-1, trackCount);
    for (int f = 0; f < fileCount; ++f) {
        const int t = trackOfFile[f];
        if (t >= 0 && gain[size_t(f) * size_t(trackCount) + size_t(t)] > 0)
            lineup.fileOfTrack[t] = f;
    }
    QList<bool> placed(fileCount, false);
    for (const int f : std::as_const(lineup.fileOfTrack)) {
        if (f >= 0) {
            lineup.order.append(files[f].path);
            placed[f] = true;
        }
    }
    lineup.matched = lineup.order.size();
    for (int f = 0; f < fileCount; ++f) {
        if (!placed[f])
            lineup.order.append(files[f].path);
    }
    return lineup;
}
