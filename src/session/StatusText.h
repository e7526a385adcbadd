#pragma once

#include "files/FileOutcome.h"
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
    // "Nothing to tag: no files listed." and the like.
    static QString noFilesTo(const QString &verb);
    static QString noAlbumToTag() { return QStringLiteral("Nothing to tag: no album listed."); }
    // The note on files and tracks differing in number, if they do, then that tagging starts.
    static QStringList taggingStarted(qsizetype files, qsizetype tracks);
    static QString renamingStarted() { return QStringLiteral("Renaming files now..."); }
    // Asks to confirm that the tags of this many files (one or more) are removed.
    static QString removeTagsQuestion(qsizetype files);
    // How many of the files a cancelled command ("Tagging", "Renaming", "Removing tags")
    // changed; else that tagging or renaming finished; nothing once tags are removed.
    static std::optional<QString> fileCommandEnded(const QString &command, const FileOutcome &outcome,
                                                   qsizetype files);
};
