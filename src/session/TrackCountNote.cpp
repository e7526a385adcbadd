#include "session/TrackCountNote.h"

QStringList trackCountNotes(qsizetype files, qsizetype tracks, qsizetype freeTracks)
{
    if (tracks == 0)
        return files == 0 ? QStringList() : QStringList{
            QStringLiteral("%1 %2, no tracks: every file is titled by its file name.")
                .arg(files).arg(QLatin1String(files == 1 ? "file" : "files"))};
    QStringList notes;
    if (freeTracks > 0)
        notes.append(freeTracks == 1
                         ? QStringLiteral("1 of %1 tracks has no file and is not written.").arg(tracks)
                         : QStringLiteral("%1 of %2 tracks have no file and are not written.").arg(freeTracks).arg(tracks));
    const qsizetype withoutTrack = files - (tracks - freeTracks);
    if (withoutTrack > 0)
        notes.append(withoutTrack == 1
                         ? QStringLiteral("1 file has no track and is titled by its file name.")
                         : QStringLiteral("%1 files have no track and are titled by their file names.").arg(withoutTrack));
    return notes;
}
