#include "lineup/FileClues.h"

#include "common/JobControl.h"
#include "files/TagAPI.h"
#include "album/IntValue.h"

FileClues FileClues::read(const QString &path)
{
    FileClues clues;
    clues.path = path;
    TagAPI tag;
    if (!tag.examineFile(path))
        return clues;
    clues.album = tag.getAlbum();
    clues.title = tag.getTitle();
    clues.number = tag.getTrack();
    clues.trackTotal = tag.getTotalNumberTracks();
    if (const QList<id3V2Frame> discs = tag.getFrame(QStringLiteral("TPOS")); !discs.isEmpty())
        clues.disc = intValue(discs.first().getTextFromFrame().section(u'/', 0, 0));
    clues.lengthMs = tag.audioLengthMs();
    return clues;
}

QList<FileClues> FileClues::readAll(const QStringList &paths, JobControl *control)
{
    QList<FileClues> all;
    all.reserve(paths.size());
    for (const QString &path : paths) {
        if (cancelRequested(control))
            break;
        reportProgress(control, all.size(), paths.size());
        all.append(read(path));
    }
    return all;
}
