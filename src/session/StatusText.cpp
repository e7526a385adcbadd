#include "session/StatusText.h"

#include "search/musicbrainz/MusicBrainzService.h"

#include <QFileInfo>

#include <QFileInfo>

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

QString StatusText::filesLeftOut(const QStringList &paths)
{
    constexpr qsizetype named = 5;
    QStringList names;
    for (const QString &path : paths.mid(0, named))
        names.append(QFileInfo(path).fileName());
    QString list = names.join(QLatin1String(", "));
    if (paths.size() > named)
        list += QStringLiteral(" and %1 more").arg(paths.size() - named);
    if (paths.size() == 1)
        return QStringLiteral("1 file is not an audio file Tagwright can tag and was left out: %1.").arg(list);
    return QStringLiteral("%1 files are not audio files Tagwright can tag and were left out: %2.").arg(paths.size()).arg(list);
}

QString StatusText::noFilesTo(const QString &verb)
{
    return QStringLiteral("Nothing to %1: no files listed.").arg(verb);
}

QString StatusText::noAlbumTo(const QString &verb)
{
    return QStringLiteral("Nothing to %1: no album listed.").arg(verb);
}

QString StatusText::linedUp(qsizetype matched, qsizetype files)
{
    const QString done = QStringLiteral("Lined up %1 of %2 files").arg(matched).arg(files);
    return matched == files ? done + u'.' : done + QStringLiteral("; %1 left at the end.").arg(files - matched);
}

QString StatusText::albumFindingStarted(qsizetype files)
{
    return QStringLiteral("Finding the album of %1 files on %2...").arg(files).arg(MusicBrainzService::name());
}

QString StatusText::severalAlbums(qsizetype albums)
{
    return QStringLiteral("The files listed are %1 albums (by their folders and album tags); list the files of one "
                          "album to find it.").arg(albums);
}

QString StatusText::noReleaseFound()
{
    return QStringLiteral("No release found for the files on %1; search by keywords instead.").arg(MusicBrainzService::name());
}

QString StatusText::noConfidentRelease(double bestScore)
{
    return QStringLiteral("No release fits the files with confidence (the best scores %1); choose one and line the "
                          "files up, or search by keywords.").arg(score(bestScore));
}

QString StatusText::albumFound(const ResultEntry &album, double fit, const std::optional<Lineup> &lineup)
{
    const QString found = QStringLiteral("Found %1 by %2, score %3.")
                              .arg(album.albumName().value_or(QStringLiteral("the album")),
                                   album.artistName().value_or(QStringLiteral("an unknown artist")), score(fit));
    if (!lineup)
        return found + QStringLiteral(" The files could not be lined up with it.");
    return found + u' ' + linedUp(lineup->matched, lineup->order.size()) + QStringLiteral(" Check them, then tag.");
}

QString StatusText::removeTagsQuestion(qsizetype files)
{
    return files == 1 ? QStringLiteral("Remove the ID3 tags of 1 file? Its title, album, artist and cover are lost.")
                      : QStringLiteral("Remove the ID3 tags of %1 files? Their titles, albums, artists and covers "
                                       "are lost.").arg(files);
}

QStringList StatusText::fileCommandEnded(const QString &command, const FileOutcome &outcome, qsizetype files,
                                         const QStringList &notes)
{
    QStringList lines;
    if (outcome.cancelled)
        lines.append(QStringLiteral("%1 cancelled: %2 of %3 files changed.")
                         .arg(command).arg(outcome.filesChanged()).arg(files));
    else if (command == QLatin1String("Tagging") || command == QLatin1String("Renaming"))
        lines.append(QStringLiteral("%1 files finished...").arg(command));
    // One line, so that no note hides another.
    if (!outcome.cancelled && !notes.isEmpty())
        lines.append(notes.join(u' '));
    if (!outcome.failures.isEmpty())
        lines.append(QStringLiteral("%1 of %2 files could not be changed; see the list.")
                         .arg(outcome.failures.size()).arg(files));
    return lines;
}

QString StatusText::operation(const QString &what, qsizetype files)
{
    return QStringLiteral("%1 (%2 file%3)").arg(what).arg(files).arg(files == 1 ? "" : "s");
}

namespace {

QString albumTitle(const ResultEntry &album)
{
    return album.albumName().value_or(QStringLiteral("the album"));
}

} // namespace

QString StatusText::lookupStarted(const ResultEntry &album)
{
    return QStringLiteral("Looking up the tracks and cover of %1...").arg(albumTitle(album));
}

QString StatusText::lookupEnded(const ResultEntry &album, const std::optional<QString> &failure)
{
    if (failure)
        return QStringLiteral("The tracks and cover of %1 could not be looked up: %2.").arg(albumTitle(album), *failure);
    if (!album.cover())
        return QStringLiteral("Tracks of %1 found; it has no cover.").arg(albumTitle(album));
    return QStringLiteral("Tracks and cover of %1 found.").arg(albumTitle(album));
}
