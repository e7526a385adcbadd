#pragma once

#include <QString>
#include <optional>

// The track number a file's name gives, read from its path: "03 Title.mp3", "Track 03.mp3",
// "Artist - 03 - Title.mp3", "1-03 Title.mp3" (disc 1), "CD2/03.mp3" (disc from the folder),
// and, weakest, "Title (3).mp3", which is as often a second copy as a track number.
struct NameNumber {
    std::optional<int> disc;
    std::optional<int> number;
    std::optional<int> bracketed; // the "(3)" form, kept apart for its doubt
    // The name without its extension and number, to compare with titles; a bracketed number
    // stays, so that of "Title.mp3" and its copy "Title (1).mp3" the first is the closer.
    QString title;

    static NameNumber fromPath(const QString &path);
};
