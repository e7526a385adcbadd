#include "lineup/FileClues.h"

#include "common/JobControl.h"
#include "files/TagFile.h"

FileClues FileClues::read(const QString &path)
{
    const std::unique_ptr<TagFile> file = TagFile::open(path);
    return of(path, file->read(TagFile::CoverReading::Skip), file->lengthMs());
}

FileClues FileClues::of(const QString &path, const std::optional<TagValues> &tags, std::optional<qint64> lengthMs)
{
    FileClues clues;
    clues.path = path;
    if (tags) {
        const auto present = [](const QString &text) { return text.isEmpty() ? std::nullopt : std::optional(text); };
        clues.album = present(tags->album);
        clues.title = present(tags->title);
        clues.number = tags->trackNumber;
        clues.trackTotal = tags->trackCount;
        clues.disc = tags->discNumber;
    }
    clues.lengthMs = lengthMs;
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
