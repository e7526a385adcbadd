#include "session/TrackCountNote.h"

namespace {

QString counted(qsizetype count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

// "file 4", "files 4 and 5", "files 4 to 9": the positions first to last, counted from 1.
QString positions(qsizetype first, qsizetype last, const char *one, const char *many)
{
    if (first == last)
        return QStringLiteral("%1 %2").arg(QLatin1String(one)).arg(first);
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QLatin1String(many)).arg(first).arg(QLatin1String(last == first + 1 ? "and" : "to")).arg(last);
}

} // namespace

QString trackCountNote(qsizetype files, qsizetype tracks)
{
    if (files == tracks)
        return QString();
    const QString counts = counted(files, "file", "files") + QStringLiteral(", ")
        + (tracks == 0 ? QStringLiteral("no tracks") : counted(tracks, "track", "tracks"));
    if (tracks == 0)
        return counts + QStringLiteral(": every file is titled by its file name.");
    if (files > tracks) {
        const QString extra = positions(tracks + 1, files, "file", "files");
        return counts
            + (files - tracks == 1 ? QStringLiteral(": %1 is titled by its file name.")
                                   : QStringLiteral(": %1 are titled by their file names."))
                  .arg(extra);
    }
    const QString extra = positions(files + 1, tracks, "track", "tracks");
    return counts + (tracks - files == 1 ? QStringLiteral(": %1 is not written.") : QStringLiteral(": %1 are not written."))
                        .arg(extra);
}
