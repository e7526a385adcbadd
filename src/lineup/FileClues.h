#pragma once

#include "files/TagValues.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class JobControl;

// What one file offers for lining it up with an album's tracks: its path, what its tags say
// (read as the file handler reads them) and its playing time from its format's headers.
struct FileClues {
    QString path;
    std::optional<QString> album;
    std::optional<QString> title;
    int disc = 0;       // the disc; 0 without one
    int number = 0;     // the track number; 0 without one
    int trackTotal = 0; // the number of tracks; 0 without one
    std::optional<qint64> lengthMs;

    // A file that cannot be read offers its path alone.
    static FileClues read(const QString &path);
    // The clues of tags and a length already read from the file at the path.
    static FileClues of(const QString &path, const std::optional<TagValues> &tags, std::optional<qint64> lengthMs);
    // Every file's, in order; reports files read of all to the control and stops early once
    // it is cancelled (the list is then shorter).
    static QList<FileClues> readAll(const QStringList &paths, JobControl *control = nullptr);
};
