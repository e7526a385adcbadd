#pragma once

#include "files/FileOutcome.h"
#include "lineup/Lineup.h"
#include "search/SearchOutcome.h"

#include <QStringList>
#include <optional>

// The status lines and the question the window shows around the session's operations.
class StatusText {
public:
    static QString waitingForInput() { return QStringLiteral("Waiting for user input..."); }
    // The catalogue a search of this storefront code goes to, as status lines name it.
    static QString catalogueName(const QString &storefront = {});
    static QString searchStarted(const QString &storefront = {});
    // How many albums the search gave, then why it stopped early, if it did.
    static QStringList searchFinished(const SearchOutcome &outcome, const QString &storefront = {});
    // Around the look-up of a chosen album's tracks and cover: that it started, then that it
    // found them or why it could not.
    static QString lookupStarted(const ResultEntry &album);
    static QString lookupEnded(const ResultEntry &album, const std::optional<QString> &failure);
    // "Nothing to tag: no files listed." and the like.
    static QString noFilesTo(const QString &verb);
    // "Nothing to tag: no album listed." and the like.
    static QString noAlbumTo(const QString &verb);
    static QString taggingStarted() { return QStringLiteral("Tagging files now..."); }
    // "Lined up 12 of 14 files; 2 left at the end."
    static QString linedUp(qsizetype matched, qsizetype files);
    // Around Find album: that it started, how it ended without an album to show, and the
    // release it found, with the line-up of the files when they could be lined up with it.
    static QString albumFindingStarted(qsizetype files);
    static QString albumFindingCancelled() { return QStringLiteral("Finding the album cancelled."); }
    static QString severalAlbums(qsizetype albums);
    static QString noReleaseFound();
    static QString noConfidentRelease(double bestScore);
    static QString albumFound(const ResultEntry &album, double score, const std::optional<Lineup> &lineup);
    // A score from 0 to 1 as shown: two decimals say all it can tell.
    static QString score(double score) { return QString::number(score, 'f', 2); }
    // That these files were not listed as no audio files to tag, naming the first few.
    static QString filesLeftOut(const QStringList &paths);
    static QString renamingStarted() { return QStringLiteral("Renaming files now..."); }
    // Asks to confirm that the tags of this many files (one or more) are removed.
    static QString removeTagsQuestion(qsizetype files);
    // How many of the files a cancelled command ("Tagging", "Renaming", "Removing tags")
    // changed, else that tagging or renaming finished followed by the notes in one line (what
    // tagging left out: tracks without a file, files without a track); last how many files it
    // could not change.
    static QStringList fileCommandEnded(const QString &command, const FileOutcome &outcome, qsizetype files,
                                        const QStringList &notes = {});
    // "Tag files (12 files)": a journal's operation and how many files it changed.
    static QString operation(const QString &what, qsizetype files);
    // "Undo Tag files (12 files)"
    static QString undoCommand(const QString &what, qsizetype files) { return QStringLiteral("Undo ") + operation(what, files); }
    static QString undoStarted(const QString &undoCommand) { return QStringLiteral("%1: under way...").arg(undoCommand); }
    static QString nothingToUndo() { return QStringLiteral("Nothing to undo."); }
};
