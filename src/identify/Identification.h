#pragma once

#include "identify/AlbumClues.h"
#include "identify/AlbumFiles.h"
#include "lineup/Lineup.h"
#include "album/ResultEntry.h"

#include <QList>
#include <QStringList>
#include <memory>
#include <optional>

// A release that may be the album, looked up with its tracks and cover, with how well it fits
// the files (0 to 1) and how its tracks pair with them.
struct Candidate {
    double score = 0;
    std::shared_ptr<ResultEntry> album;
    Lineup lineup;
};

// What identifying one album of files found: the clues it searched by, the releases that may
// be the album, best first, and what failed on the way, in words a user can act on.
struct Identification {
    AlbumFiles files;
    AlbumClues clues;
    std::optional<AlbumClues::Source> foundBy; // the clues whose search found releases
    QList<Candidate> candidates;
    QStringList failures;
    bool cancelled = false;

    // The best candidate when it scores at least `minScore`; null otherwise.
    const Candidate *confident(double minScore) const
    {
        return !candidates.isEmpty() && candidates.first().score >= minScore ? &candidates.first() : nullptr;
    }
};
