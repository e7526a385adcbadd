#pragma once

#include "files/FileContentsPlan.h"

#include <QList>
#include <QString>
#include <thread>
#include <vector>

// Changes files so that at every instant each one is either wholly old or wholly new, and
// makes a batch of changes durable with one round of flushes. A change that leaves every
// unchanged range at its place is written in place; any other becomes a complete new file
// beside the old one, unnamed until it is written and flushed, then renamed over the old
// one with its owner, permissions and extended attributes. A crash leaves no temporary file
// behind; a failure leaves the old file as it was.
class DurableWriteBatch {
public:
    struct Failure {
        QString path;
        QString reason;
    };

    DurableWriteBatch() = default;
    ~DurableWriteBatch();   // drops staged new files that were not committed
    DurableWriteBatch(const DurableWriteBatch &) = delete;
    DurableWriteBatch &operator=(const DurableWriteBatch &) = delete;

    // Writes the new contents: in place, or into an unnamed new file in the file's folder.
    // On failure returns false with a reason, and the file is as it was.
    bool stage(const QString &path, const FileContentsPlan &plan, QString *reason);

    // Flushes everything staged to disk, then puts each new file in place of its old one.
    // Returns the files that could not be changed; they keep their old contents.
    QList<Failure> commit();

    qsizetype stagedCount() const { return qsizetype(m_staged.size()); }

private:
    struct Staged {
        QString path;
        int fd = -1;              // the changed file, or the new file beside it
        int directoryFd = -1;     // the folder, for a new file
        int oldFd = -1;           // the replaced file, held open so that the rename does not
                                  // give its blocks back to the file system on the spot
        QString temporaryName;    // a named new file, where unnamed ones are not supported
        bool replaces = false;    // a new file that must be renamed over the old one
    };

    bool stageInPlace(const QString &path, const FileContentsPlan &plan, QString *reason);
    bool stageReplacement(const QString &path, const FileContentsPlan &plan, QString *reason);
    void flushFileSystems(QList<Failure> &failures);
    bool putInPlace(Staged &staged, QString *reason);
    static void discard(Staged &staged);
    // Closes the replaced files on helper threads: their last close gives their blocks
    // back, which on a disk that discards freed blocks waits for the disk, milliseconds per
    // file. The next batch need not wait for it, and the disk takes several discards at a
    // time. The threads are joined before the next ones start and on destruction.
    void retireReplacedFiles();
    void joinClosers();

    std::vector<Staged> m_staged;
    std::vector<int> m_retired;   // replaced files of this commit
    std::vector<int> m_closing;   // replaced files of the last commit, closed by m_closers
    std::vector<std::thread> m_closers;
};
