#pragma once

#include "files/FileContentsPlan.h"

#include <QList>
#include <QSet>
#include <QString>
#include <cstdio>
#include <optional>
#include <sys/types.h>
#include <unistd.h>
#include <thread>
#include <vector>

// Changes files so that the ranges a change keeps (the audio, for a tag) are never touched,
// and makes a batch of changes durable with one round of flushes. A change that leaves
// every kept range at its place is written in place when the batch is committed: only its
// written pieces change, and a failure or crash part-way may leave them partly old. Any other change becomes a complete
// new file beside the old one, unnamed until it is written and flushed, then renamed over
// the old one with its owner, permissions and extended attributes: such a file is wholly old
// or wholly new at every instant, and a file put at the path meanwhile is not replaced.
// Before the rename the new file has a hidden name that carries the process id (for an
// instant, where the file system supports unnamed files); a process killed while it has one
// leaves it behind, and the next batch that writes into the folder removes it once that
// process no longer runs.
class ChangeRecorder;

// With a ChangeRecorder, every change is recorded as it is staged, and commit() makes the
// records durable before it changes any file.
class DurableWriteBatch {
public:
    // What a failed change left of the file.
    enum class Left {
        AsItWas,          // the file is unchanged
        PiecesUncertain,  // changed in place: the kept ranges are as they were, the written
                          // pieces may be partly old, partly new
        NewNotDurable,    // wholly new, but a system crash may yet bring back the old file
    };
    struct Failure {
        QString path;
        QString reason;
        Left left = Left::AsItWas;
    };

    // The system calls that make changes durable and put new files in place, replaceable so
    // that their failures can be tried out.
    struct SystemCalls {
        int (*syncfs)(int fd) = ::syncfs;
        int (*fsync)(int fd) = ::fsync;
        int (*renameat)(int fromFolder, const char *from, int toFolder, const char *to) = ::renameat;
    };

    DurableWriteBatch();
    explicit DurableWriteBatch(SystemCalls calls) : m_calls(calls) {}
    ~DurableWriteBatch();   // drops staged new files that were not committed
    DurableWriteBatch(const DurableWriteBatch &) = delete;
    DurableWriteBatch &operator=(const DurableWriteBatch &) = delete;

    void setRecorder(ChangeRecorder *recorder) { m_recorder = recorder; }

    // Takes the new contents, planned from the file as it is now: kept for writing in place
    // at commit(), or written into an unnamed new file in the file's folder. Returns false
    // with a reason when the file is as it was. A change staged earlier for the same file
    // is not made yet, so a later change, planned without it, supersedes it: the last
    // change staged for a file is the one the file ends with.
    bool stage(const QString &path, const FileContentsPlan &plan, QString *reason);

    // Makes the recorder's records durable, writes the changes in place, flushes everything
    // staged to disk, then puts each new file in place of its old one.
    // Returns the files that did not get their new contents for sure, and what each was left.
    QList<Failure> commit();

    qsizetype stagedCount() const { return qsizetype(m_staged.size()); }

private:
    struct Staged {
        QString path;
        int fd = -1;              // the file to change in place, or the new file beside it
        std::optional<FileContentsPlan> inPlace;   // the change to write into fd at commit()
        int directoryFd = -1;     // the folder, for a new file
        int oldFd = -1;           // the replaced file, held open so that the rename does not
                                  // give its blocks back to the file system on the spot
        QByteArray temporaryName; // the new file's hidden name, once it has one
        bool replaces = false;    // a new file that must be renamed over the old one
        bool placed = false;      // renamed over the old one
        dev_t folderDevice = 0;   // the folder, told apart from another path to it
        ino_t folderInode = 0;
    };

    bool stageInPlace(const QString &path, const FileContentsPlan &plan, QString *reason);
    bool stageReplacement(const QString &path, const FileContentsPlan &plan, QString *reason);
    // Drops a change staged earlier for the file, once a later change of it is staged.
    void supersedeEarlierChange(const QString &path);
    void writeInPlace(QList<Failure> &failures);
    void flushFileSystems(QList<Failure> &failures);
    void flushFolders(QList<Failure> &failures);
    bool putInPlace(Staged &staged, QString *reason);
    static void discard(Staged &staged);
    // Closes the replaced files on helper threads: their last close gives their blocks
    // back, which on a disk that discards freed blocks waits for the disk, milliseconds per
    // file. The next batch need not wait for it, and the disk takes several discards at a
    // time. The threads are joined before the next ones start and on destruction.
    void retireReplacedFiles();
    void joinClosers();

    SystemCalls m_calls;
    std::vector<Staged> m_staged;
    ChangeRecorder *m_recorder = nullptr;
    QSet<QString> m_tidiedFolders;  // folders already cleared of dead processes' new files
    std::vector<int> m_retired;     // replaced files of this commit
    std::vector<int> m_closing;     // replaced files of the last commit, closed by m_closers
    std::vector<std::thread> m_closers;
};
