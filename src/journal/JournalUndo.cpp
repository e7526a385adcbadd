#include "journal/JournalUndo.h"

#include "common/JobControl.h"
#include "files/DurableWriteBatch.h"
#include "files/NoReplaceMove.h"
#include "journal/Journal.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Restores files in batches, each made durable with one round of flushes, and gives each
// restored file its old modification time back, so that an earlier operation's record
// recognises it again.
class Restorer {
public:
    explicit Restorer(FileOutcome &outcome) : m_outcome(outcome) {}
    ~Restorer() { commit(); }

    void restore(const WriteRecord &record)
    {
        // A file restored twice in one undo is checked against the first restore.
        if (m_modified.contains(record.path))
            commit();
        const int fd = ::open(QFile::encodeName(record.path).constData(), O_RDONLY | O_CLOEXEC);
        const WriteRecord::State state = fd >= 0 ? record.stateOf(fd) : WriteRecord::State::Changed;
        if (fd >= 0)
            ::close(fd);
        if (state == WriteRecord::State::Changed)
            return fail(record.path, QStringLiteral("changed since it was tagged; left as it is"));
        if (state == WriteRecord::State::AsBefore)
            return;
        QString reason;
        if (!m_batch.stage(record.path, record.restorePlan(), &reason))
            return fail(record.path, reason);
        m_modified.insert(record.path, record.oldModifiedNs);
        if (m_batch.stagedCount() >= 64)
            commit();
    }

    void commit()
    {
        QSet<QString> failed;
        for (const DurableWriteBatch::Failure &failure : m_batch.commit()) {
            failed.insert(failure.path);
            fail(failure.path, failure.reason);
        }
        for (auto file = m_modified.cbegin(); file != m_modified.cend(); ++file) {
            if (failed.contains(file.key()))
                continue;
            const timespec times[2] = {{0, UTIME_OMIT}, {time_t(file.value() / 1'000'000'000), long(file.value() % 1'000'000'000)}};
            ::utimensat(AT_FDCWD, QFile::encodeName(file.key()).constData(), times, 0);
        }
        m_modified.clear();
    }

    void fail(const QString &path, const QString &reason) { m_outcome.failures.append({path, reason}); }

private:
    FileOutcome &m_outcome;
    DurableWriteBatch m_batch;
    QHash<QString, qint64> m_modified;   // the old modification time of each file staged
};

bool exists(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// Moves the file back to its old name where that name is free, then removes the folders the
// rename made, once empty.
void renameBack(const EntryFile::RenameRecord &record, Restorer &restorer)
{
    if (exists(record.to)) {
        if (exists(record.from))
            return restorer.fail(record.to, QStringLiteral("its old name %1 is taken; left as it is").arg(record.from));
        if (const int error = NoReplaceMove::move(record.to, record.from))
            return restorer.fail(record.to, NoReplaceMove::describeError(error));
    } else if (!exists(record.from)) {
        return restorer.fail(record.to, QStringLiteral("changed since it was renamed; left as it is"));
    }
    for (const QString &folder : record.madeFolders)
        ::rmdir(QFile::encodeName(folder).constData());
}

} // namespace

JournalUndo JournalUndo::undoNewest(const Journal &journal, JobControl *control)
{
    JournalUndo undo;
    undo.entry = journal.nextToUndo();
    if (!undo.entry)
        return undo;
    const EntryFile::Contents &entry = *undo.entry;
    const qsizetype total = entry.writes.size() + entry.renames.size();
    FileOutcome &outcome = undo.outcome;
    {
        Restorer restorer(outcome);
        // Newest change first: a name freed by one rename may have been taken by a later one.
        for (auto rename = entry.renames.crbegin(); rename != entry.renames.crend() && !cancelRequested(control); ++rename) {
            renameBack(*rename, restorer);
            reportProgress(control, ++outcome.filesHandled, total);
        }
        for (auto write = entry.writes.crbegin(); write != entry.writes.crend() && !cancelRequested(control); ++write) {
            restorer.restore(*write);
            reportProgress(control, ++outcome.filesHandled, total);
        }
    }
    outcome.cancelled = outcome.filesHandled < total;
    QString reason;
    if (!outcome.cancelled && !journal.markUndone(entry, &reason))
        outcome.failures.append({entry.fileName, QStringLiteral("could not note the undo in the journal: %1").arg(reason)});
    return undo;
}
