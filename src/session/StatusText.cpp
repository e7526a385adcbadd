#include "session/StatusText.h"

#include "search/musicbrainz/MusicBrainzService.h"
#include "session/TrackCountNote.h"

QString StatusText::catalogueName(const QString &storefront)
{
    return storefront == MusicBrainzService::code() ? MusicBrainzService::name() : QStringLiteral("amazon database");
}

QString StatusText::searchStarted(const QString &storefront)
{
    return QStringLiteral("Starting %1 searching...").arg(catalogueName(storefront));
}

QStringList StatusText::searchFinished(const SearchOutcome &outcome, const QString &storefront)
{
    QStringList lines{QStringLiteral("Finished %1 searching. %2 entries processed.")
                          .arg(catalogueName(storefront))
                          .arg(outcome.albums->size())};
    if (const std::optional<QString> failure = outcome.failureStatus())
        lines.append(*failure);
    return lines;
}

QString StatusText::noFilesTo(const QString &verb)
{
    return QStringLiteral("Nothing to %1: no files listed.").arg(verb);
}

QStringList StatusText::taggingStarted(qsizetype files, qsizetype tracks)
{
    QStringList lines;
    if (const QString note = trackCountNote(files, tracks); !note.isEmpty())
        lines.append(note);
    lines.append(QStringLiteral("Tagging files now..."));
    return lines;
}

QString StatusText::removeTagsQuestion(qsizetype files)
{
    return files == 1 ? QStringLiteral("Remove the ID3 tags of 1 file? Its title, album, artist and cover are lost.")
                      : QStringLiteral("Remove the ID3 tags of %1 files? Their titles, albums, artists and covers "
                                       "are lost.").arg(files);
}

std::optional<QString> StatusText::fileCommandEnded(const QString &command, const FileOutcome &outcome,
                                                    qsizetype files)
{
    if (outcome.cancelled)
        return QStringLiteral("%1 cancelled: %2 of %3 files changed.")
            .arg(command).arg(outcome.filesChanged()).arg(files);
    if (command == QLatin1String("Tagging") || command == QLatin1String("Renaming"))
        return QStringLiteral("%1 files finished...").arg(command);
    return std::nullopt;
}
