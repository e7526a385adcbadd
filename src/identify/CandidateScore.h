#pragma once

#include "identify/AlbumClues.h"
#include "identify/AlbumFileFacts.h"
#include "lineup/Lineup.h"
#include "lineup/NameNumber.h"
#include "lineup/TitleSimilarity.h"
#include "album/ResultEntry.h"

#include <QList>

// How well a looked-up release fits an album's files, from 0 (not at all) to 1: its files
// are lined up with its tracks, and each pair counts by how near the lengths are, how alike
// the titles read and whether the numbers agree; files and tracks left unpaired count as
// misfits. The album title, artist and year of the release, set against the clues, count
// beside that. Built once per album, it scores any number of releases.
class CandidateScore {
public:
    struct Fit {
        double score = 0;
        Lineup lineup;
    };

    CandidateScore(const QList<AlbumFileFacts> &files, const AlbumClues &clues);

    // A release without tracks fits no files.
    Fit of(const ResultEntry &release) const;

    // A score at or above this is taken for the album without asking.
    static constexpr double confident = 0.8;

private:
    struct FileEvidence {
        NameNumber name;
        TitleSimilarity nameTitle;
        TitleSimilarity tagTitle;
    };
    // How well one file fits one track, from 0 to 1.
    double pairFit(int file, const Track &track, int row) const;
    // How well the files, as lined up, fit the tracks.
    double pairingFit(const Lineup &lineup, const TrackList &tracks) const;

    QList<FileClues> m_files;
    QList<FileEvidence> m_evidence;
    AlbumClues m_clues;
    std::optional<TitleSimilarity> m_album;
    std::optional<TitleSimilarity> m_artist;
};
