#include "journal/Journal.h"

#include "journal/JournalEntry.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

QString Journal::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/journal");
}

Journal::Journal(QString folder, Limits limits) : m_folder(std::move(folder)), m_limits(limits) {}

QStringList Journal::entryNames() const
{
    return QDir(m_folder).entryList({QStringLiteral("*.journal")}, QDir::Files, QDir::Name);
}

QString Journal::nameOf(Operation operation)
{
    switch (operation) {
    case Operation::tagFiles:
        return QStringLiteral("Tag files");
    case Operation::renameFiles:
        return QStringLiteral("Rename files");
    case Operation::removeTags:
        break;
    }
    return QStringLiteral("Remove tags");
}

std::unique_ptr<JournalEntry> Journal::begin(Operation operation) const
{
    prune();
    return std::make_unique<JournalEntry>(m_folder, nameOf(operation));
}

void Journal::prune() const
{
    const QDir folder(m_folder);
    const QDateTime oldest = QDateTime::currentDateTimeUtc().addDays(-m_limits.maxAgeDays);
    QStringList names = entryNames();
    qint64 total = 0;
    for (const QString &name : std::as_const(names))
        total += QFileInfo(folder.filePath(name)).size();
    // Oldest first, while too old or too many bytes in all.
    for (const QString &name : std::as_const(names)) {
        const QFileInfo entry(folder.filePath(name));
        if (total <= m_limits.maxBytes && entry.lastModified().toUTC() >= oldest)
            break;
        total -= entry.size();
        QFile::remove(entry.filePath());
    }
}

QList<EntryFile::Contents> Journal::history() const
{
    QList<EntryFile::Contents> entries;
    const QStringList names = entryNames();
    for (auto name = names.crbegin(); name != names.crend(); ++name) {
        if (auto entry = EntryFile::read(QDir(m_folder).filePath(*name), EntryFile::Reading::Summary))
            entries.append(*entry);
    }
    return entries;
}

std::optional<EntryFile::Contents> Journal::nextToUndo() const
{
    for (const EntryFile::Contents &entry : history()) {
        if (!entry.undone)
            return EntryFile::read(QDir(m_folder).filePath(entry.fileName), EntryFile::Reading::Changes);
    }
    return std::nullopt;
}

bool Journal::markUndone(const EntryFile::Contents &entry, QString *reason) const
{
    QFile file(QDir(m_folder).filePath(entry.fileName));
    if (!file.open(QIODevice::Append | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    return EntryFile::append(file, EntryFile::RecordType::Undone, {}, reason) && ::fdatasync(file.handle()) == 0;
}
