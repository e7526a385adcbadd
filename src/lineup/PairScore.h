#pragma once

#include "lineup/FileClues.h"
#include "lineup/NameNumber.h"
#include "lineup/TitleSimilarity.h"
#include "album/ResultEntry.h"

#include <QHash>
#include <QList>

// How strongly each clue a file offers ties it to each track of an album, summed into one
// score per (file, track). In order of weight: the file's tags naming the track's disc and
// number (trusted when the tags' album is this album), a number in the file's name, its
// name or title against the track's title, its playing time against the track's length.
// A score at or below noMatch means the pair is no real match.
class PairScore {
public:
    static constexpr double noMatch = 0.7;

    PairScore(const TrackList &tracks, const ResultEntry &album);

    // The scores of one file against every track, in track order.
    QList<double> scores(const FileClues &file) const;

private:
    struct TrackFacts {
        int disc = 1;
        int number = 0;   // on its disc; its row + 1 when not known
        TitleSimilarity title;
        std::optional<qint64> lengthMs;
    };
    // The tracks a disc (0 for none given) and number point at; `running` when the number
    // counts across all discs, as the row + 1.
    QList<int> tracksNumbered(int disc, int number, bool running) const;
    double lengthScore(const FileClues &file, const TrackFacts &track) const;

    QList<TrackFacts> m_tracks;
    // The rows of the tracks with each disc and number, and with each number on any disc.
    QHash<quint64, QList<int>> m_byDiscAndNumber;
    QHash<int, QList<int>> m_byNumber;
    QString m_albumName; // normalised; empty when the album has none
    bool m_severalDiscs = false;
};
