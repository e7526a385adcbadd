#include "journal/JournalEntry.h"

#include "journal/EntryFile.h"
#include "journal/WriteRecord.h"

#include <QDir>

#include <atomic>
#include <fcntl.h>
#include <unistd.h>

using EntryFile::RecordType;

namespace {

// Entries sort by their names in the order they began.
QString entryName(const QDateTime &when)
{
    static std::atomic<int> made = 0;
    return QStringLiteral("%1-%2-%3.journal")
        .arg(when.toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz")))
        .arg(::getpid())
        .arg(made++, 4, 10, QLatin1Char('0'));
}

} // namespace

JournalEntry::JournalEntry(QString folder, QString what)
    : m_folder(std::move(folder)), m_what(std::move(what)), m_when(QDateTime::currentDateTimeUtc())
{
}

bool JournalEntry::open(QString *reason)
{
    if (m_file.isOpen())
        return true;
    if (!QDir().mkpath(m_folder)) {
        *reason = QStringLiteral("cannot create the folder %1").arg(m_folder);
        return false;
    }
    m_file.setFileName(QDir(m_folder).filePath(entryName(m_when)));
    // Unbuffered: each record reaches the system in one write, and a killed process loses none.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        *reason = m_file.errorString();
        return false;
    }
    return EntryFile::append(m_file, RecordType::Begin, EntryFile::fields(m_what, m_when), reason);
}

bool JournalEntry::recordWrite(const QString &path, int fd, const FileContentsPlan &plan, QString *reason)
{
    // The record is made (the old bytes read, the new ones hashed) on a thread of its own
    // while the next files are prepared, through a descriptor of its own; makeDurable()
    // writes it before any file changes.
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) {
        *reason = QStringLiteral("could not read its old tags for the undo journal");
        return false;
    }
    m_pending.push_back(std::async(std::launch::async, [path, copy, plan] {
        PendingWrite made;
        made.record = WriteRecord::make(path, copy, plan, &made.failure);
        ::close(copy);
        return made;
    }));
    m_writes.insert(path, qint32(m_writes.size()));
    return true;
}

bool JournalEntry::writePending(QString *reason)
{
    for (std::future<PendingWrite> &pending : m_pending) {
        const PendingWrite made = pending.get();
        QString failure = made.failure;
        if (!made.record || !open(&failure)
            || !EntryFile::append(m_file, RecordType::Write, EntryFile::fields(*made.record), &failure)) {
            *reason = failure;
            m_pending.clear();
            return false;
        }
    }
    m_pending.clear();
    return true;
}

void JournalEntry::recordWritten(const QString &path, int fd)
{
    // A completion that is not recorded costs only the check of the modification time.
    QString ignored;
    EntryFile::append(m_file, RecordType::Written, EntryFile::fields(m_writes.value(path, -1), modifiedNs(fd)), &ignored);
}

bool JournalEntry::recordRename(const QString &from, const QString &to, const QStringList &madeFolders, QString *reason)
{
    QString failure;
    if (!open(&failure)
        || !EntryFile::append(m_file, RecordType::Rename, EntryFile::fields(from, to, madeFolders), &failure)) {
        *reason = QStringLiteral("could not write the undo journal: %1").arg(failure);
        return false;
    }
    m_renames.insert(to, qint32(m_renames.size()));
    return true;
}

void JournalEntry::recordRenamed(const QString &to)
{
    QString ignored;
    EntryFile::append(m_file, RecordType::Renamed, EntryFile::fields(m_renames.value(to, -1)), &ignored);
}

bool JournalEntry::makeDurable(QString *reason)
{
    if (!writePending(reason))
        return false;
    if (!m_file.isOpen())
        return true;
    if (::fdatasync(m_file.handle()) != 0) {
        *reason = QStringLiteral("cannot write %1 to disk").arg(m_file.fileName());
        return false;
    }
    if (!m_named) {
        const int folder = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        m_named = folder >= 0 && ::fsync(folder) == 0;
        if (folder >= 0)
            ::close(folder);
        if (!m_named) {
            *reason = QStringLiteral("cannot write the folder %1 to disk").arg(m_folder);
            return false;
        }
    }
    return true;
}
