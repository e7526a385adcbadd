#pragma once

#include "journal/EntryFile.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

class JournalEntry;

// The undo journal: a folder of entries, one per operation that changed files (tagging,
// removing tags, renaming), each telling how to take its changes back. Entries older than
// the age limit, and the oldest beyond the size limit, are removed as a new one begins.
class Journal {
public:
    struct Limits {
        qint64 maxAgeDays = 90;
        qint64 maxBytes = qint64(1) << 30;
    };

    // The user's data folder's "journal" folder.
    static QString defaultFolder();

    explicit Journal(QString folder = defaultFolder()) : Journal(std::move(folder), Limits()) {}
    Journal(QString folder, Limits limits);

    const QString &folder() const { return m_folder; }

    // The operations that change files, by the names history and Undo give them.
    enum class Operation { tagFiles, renameFiles, removeTags };
    static QString nameOf(Operation operation);

    // A new entry for the operation, once the old entries are pruned.
    std::unique_ptr<JournalEntry> begin(Operation operation) const;
    // The entries' summaries, newest first.
    QList<EntryFile::Contents> history() const;
    // The newest entry not yet undone, with its changes; nothing when every one is.
    std::optional<EntryFile::Contents> nextToUndo() const;
    // Notes in the entry that it was taken back.
    bool markUndone(const EntryFile::Contents &entry, QString *reason) const;

private:
    // The entries' file names, oldest first.
    QStringList entryNames() const;
    void prune() const;

    QString m_folder;
    Limits m_limits;
};
