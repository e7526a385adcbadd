#pragma once

#include "identify/Identification.h"

#include <QString>
#include <QStringList>
#include <functional>

// Takes a command through the albums among the paths it was given, one at a time: reads each
// folder's files, identifies each album on MusicBrainz and hands the result on. Shows on
// standard error which folder of how many it is at and about how long the rest will take.
// A first Ctrl+C stops the run between albums: an album being identified is dropped (nothing
// is written while identifying), one being handled is finished first. A second one ends the
// program at once, as it would without this.
class LibraryRun {
public:
    // True to pass over an album without identifying it.
    using Skip = std::function<bool(const AlbumFiles &album)>;
    using Handle = std::function<void(const Identification &identification)>;

    LibraryRun(QString command, Skip skip, Handle handle);

    // False when the run was stopped before the end.
    bool run(const QStringList &paths);

private:
    void printLine(const QString &line) const;

    QString m_command;
    Skip m_skip;
    Handle m_handle;
};
