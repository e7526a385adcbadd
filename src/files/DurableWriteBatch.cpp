#include "files/DurableWriteBatch.h"

#include "files/ChangeRecorder.h"
#include "files/HiddenNewFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

QString systemError(const char *what, int error = errno)
{
    return QStringLiteral("%1: %2").arg(QString::fromUtf8(what), QString::fromLocal8Bit(std::strerror(error)));
}

bool writeAll(int fd, const char *data, qint64 size, qint64 offset, QString *reason)
{
    while (size > 0) {
        const ssize_t written = offset >= 0 ? ::pwrite(fd, data, size_t(size), offset)
                                            : ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            *reason = systemError("could not write");
            return false;
        }
        data += written;
        size -= written;
        if (offset >= 0)
            offset += written;
    }
    return true;
}

// Appends a range of `source` to `target`: inside the kernel where the file system
// allows it, through a buffer otherwise.
bool copyRange(int source, int target, qint64 offset, qint64 length, QString *reason)
{
    loff_t in = offset;
    while (length > 0) {
        const ssize_t copied = ::copy_file_range(source, &in, target, nullptr, size_t(length), 0);
        if (copied > 0) {
            length -= copied;
            continue;
        }
        if (copied == 0) {
            *reason = QStringLiteral("the file ended before its audio did");
            return false;
        }
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            *reason = systemError("could not write");
            return false;
        }
        break;   // fall back to reading and writing
    }
    QByteArray buffer(qMin<qint64>(length, 1 << 20), Qt::Uninitialized);
    while (length > 0) {
        const ssize_t got = ::pread(source, buffer.data(), size_t(qMin<qint64>(length, buffer.size())), in);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            *reason = got < 0 ? systemError("could not read") : QStringLiteral("the file ended before its audio did");
            return false;
        }
        if (!writeAll(target, buffer.constData(), got, -1, reason))
            return false;
        in += got;
        length -= got;
    }
    return true;
}

bool matchesPlan(int fd, const FileContentsPlan &plan, struct stat *status, QString *reason)
{
    if (::fstat(fd, status) != 0) {
        *reason = systemError("could not read");
        return false;
    }
    if (!S_ISREG(status->st_mode)) {
        *reason = QStringLiteral("not a regular file");
        return false;
    }
    if (status->st_size != plan.currentSize()) {
        *reason = QStringLiteral("the file changed while it was being read");
        return false;
    }
    return true;
}

// Gives the new file the old one's extended attributes (access control lists among them),
// so that a rewrite does not take away what the user set on the file. Attributes in the
// system's own namespaces that this process may not set are left to the system.
bool copyExtendedAttributes(int source, int target, QString *reason)
{
    QByteArray names;
    for (;;) {
        const ssize_t size = ::flistxattr(source, nullptr, 0);
        if (size < 0) {
            if (errno == ENOTSUP)
                return true;
            *reason = systemError("could not read its extended attributes");
            return false;
        }
        if (size == 0)
            return true;
        names.resize(size);
        const ssize_t listed = ::flistxattr(source, names.data(), size_t(names.size()));
        if (listed >= 0) {
            names.resize(listed);
            break;
        }
        if (errno != ERANGE) {   // ERANGE: an attribute came meanwhile; ask again
            *reason = systemError("could not read its extended attributes");
            return false;
        }
    }
    for (const QByteArray &name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        QByteArray value;
        ssize_t size = ::fgetxattr(source, name.constData(), nullptr, 0);
        if (size >= 0) {
            value.resize(size);
            size = ::fgetxattr(source, name.constData(), value.data(), size_t(value.size()));
        }
        const bool copied = size >= 0 && ::fsetxattr(target, name.constData(), value.constData(), size_t(size), 0) == 0;
        const bool systemOwned = name.startsWith("security.") || name.startsWith("trusted.");
        if (!copied && !(systemOwned && (errno == EPERM || errno == ENOTSUP))) {
            *reason = QStringLiteral("could not give the new file the old one's extended attribute \"%1\" (%2)")
                          .arg(QString::fromUtf8(name), QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    return true;
}

// Lets the disk start on the file's data at once, while the next files are prepared;
// commit() then waits for it.
void startWriteback(int fd)
{
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
}

} // namespace

DurableWriteBatch::DurableWriteBatch() : DurableWriteBatch(SystemCalls{}) {}

DurableWriteBatch::~DurableWriteBatch()
{
    joinClosers();
    for (Staged &staged : m_staged)
        discard(staged);
}

void DurableWriteBatch::discard(Staged &staged)
{
    if (!staged.temporaryName.isEmpty())
        ::unlinkat(staged.directoryFd, staged.temporaryName.constData(), 0);
    if (staged.fd >= 0)
        ::close(staged.fd);
    if (staged.directoryFd >= 0)
        ::close(staged.directoryFd);
    if (staged.oldFd >= 0)
        ::close(staged.oldFd);
    staged = Staged{};
}

bool DurableWriteBatch::stage(const QString &path, const FileContentsPlan &plan, QString *reason)
{
    if (plan.isUnchanged())
        return true;
    const QString folder = QFileInfo(path).path();
    if (!m_tidiedFolders.contains(folder)) {
        m_tidiedFolders.insert(folder);
        HiddenNewFiles::removeLeftovers(folder);
    }
    return plan.fitsInPlace() ? stageInPlace(path, plan, reason) : stageReplacement(path, plan, reason);
}

void DurableWriteBatch::supersedeEarlierChange(const QString &path)
{
    const QFileInfo info(path);
    // Looked up only when a change of a file of the same name is staged. What cannot be
    // looked up matches nothing: no file or folder has inode 0.
    std::optional<struct stat> folder, file;
    const auto statusOf = [](const QString &where) {
        struct stat status {};
        ::stat(QFile::encodeName(where).constData(), &status);
        return status;
    };
    std::erase_if(m_staged, [&](Staged &staged) {
        if (!staged.path.endsWith(info.fileName()) || QFileInfo(staged.path).fileName() != info.fileName())
            return false;
        if (staged.replaces) {
            if (!folder)
                folder = statusOf(info.path());
            if (staged.folderDevice != folder->st_dev || staged.folderInode != folder->st_ino)
                return false;
        } else {
            if (!file)
                file = statusOf(path);
            struct stat changed {};
            if (::fstat(staged.fd, &changed) != 0 || changed.st_dev != file->st_dev || changed.st_ino != file->st_ino)
                return false;
        }
        discard(staged);
        return true;
    });
}

bool DurableWriteBatch::stageInPlace(const QString &path, const FileContentsPlan &plan, QString *reason)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        *reason = systemError("could not open it for writing");
        return false;
    }
    struct stat status {};
    if (!matchesPlan(fd, plan, &status, reason)) {
        ::close(fd);
        return false;
    }
    if (m_recorder && !m_recorder->recordWrite(path, fd, plan, reason)) {
        ::close(fd);
        return false;
    }
    supersedeEarlierChange(path);
    Staged staged;
    staged.path = path;
    staged.fd = fd;
    staged.inPlace = plan;
    m_staged.push_back(staged);
    return true;
}

void DurableWriteBatch::writeInPlace(QList<Failure> &failures)
{
    for (Staged &staged : m_staged) {
        if (!staged.inPlace)
            continue;
        QString failure;
        bool written = true;
        qint64 position = 0;
        for (const FileContentsPlan::Piece &piece : staged.inPlace->pieces()) {
            if (!written)
                break;
            if (!piece.isRange())
                written = writeAll(staged.fd, piece.bytes.constData(), piece.length, position, &failure);
            position += piece.length;
        }
        if (written && position < staged.inPlace->currentSize() && ::ftruncate(staged.fd, position) != 0) {
            failure = systemError("could not shorten it");
            written = false;
        }
        if (!written) {
            // Some pieces may be written already: the file is no longer as it was.
            failures.append({staged.path, failure, Left::PiecesUncertain});
            discard(staged);
            continue;
        }
        startWriteback(staged.fd);
    }
}

bool DurableWriteBatch::stageReplacement(const QString &path, const FileContentsPlan &plan, QString *reason)
{
    const QByteArray encodedPath = QFile::encodeName(path);
    // The new file takes the place of the old one, so writing must be allowed on the old
    // one itself, not only on its folder.
    if (::access(encodedPath.constData(), W_OK) != 0) {
        *reason = systemError("could not open it for writing");
        return false;
    }
    const int source = ::open(encodedPath.constData(), O_RDONLY | O_CLOEXEC);
    if (source < 0) {
        *reason = systemError("could not read");
        return false;
    }
    struct stat status {};
    if (!matchesPlan(source, plan, &status, reason)
        || (m_recorder && !m_recorder->recordWrite(path, source, plan, reason))) {
        ::close(source);
        return false;
    }

    Staged staged;
    staged.path = path;
    staged.replaces = true;
    struct stat folder {};
    staged.directoryFd =
        ::open(QFile::encodeName(QFileInfo(path).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (staged.directoryFd < 0 || ::fstat(staged.directoryFd, &folder) != 0) {
        *reason = systemError("could not open its folder");
        ::close(source);
        discard(staged);
        return false;
    }
    staged.folderDevice = folder.st_dev;
    staged.folderInode = folder.st_ino;
    // An unnamed file vanishes by itself if the process dies before it is complete.
    staged.fd = ::openat(staged.directoryFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (staged.fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        staged.temporaryName = HiddenNewFiles::name(path);
        staged.fd = ::openat(staged.directoryFd, staged.temporaryName.constData(),
                             O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (staged.fd < 0)
            staged.temporaryName.clear();
    }
    bool written = staged.fd >= 0;
    if (!written)
        *reason = systemError("could not create the new file in its folder");
    struct stat created {};
    // Owner first: changing it clears set-id bits that the mode then restores.
    if (written && (::fstat(staged.fd, &created) != 0
                    || ((created.st_uid != status.st_uid || created.st_gid != status.st_gid)
                        && ::fchown(staged.fd, status.st_uid, status.st_gid) != 0)
                    || ::fchmod(staged.fd, status.st_mode & 07777) != 0)) {
        *reason = systemError("could not give the new file the old one's owner and permissions");
        written = false;
    }
    if (written)
        written = copyExtendedAttributes(source, staged.fd, reason);
    for (const FileContentsPlan::Piece &piece : plan.pieces()) {
        if (!written)
            break;
        written = piece.isRange() ? copyRange(source, staged.fd, piece.offset, piece.length, reason)
                                  : writeAll(staged.fd, piece.bytes.constData(), piece.length, -1, reason);
    }
    if (!written) {
        ::close(source);
        discard(staged);
        return false;
    }
    staged.oldFd = source;
    startWriteback(staged.fd);
    supersedeEarlierChange(path);
    m_staged.push_back(staged);
    return true;
}

QList<DurableWriteBatch::Failure> DurableWriteBatch::commit()
{
    QList<Failure> failures;
    if (QString reason; m_recorder && !m_staged.empty() && !m_recorder->makeDurable(&reason)) {
        // Nothing is changed that could not be taken back.
        for (Staged &staged : m_staged) {
            failures.append({staged.path, QStringLiteral("could not write the undo journal: %1").arg(reason)});
            discard(staged);
        }
        m_staged.clear();
        return failures;
    }
    writeInPlace(failures);
    // All data first, before any name changes. The writes of the whole batch were started
    // as they were staged, and one flush per file system covers them all: flushing each
    // file alone costs the disk a cache flush and a journal commit per file.
    flushFileSystems(failures);
    for (Staged &staged : m_staged) {
        if (staged.fd < 0 || !staged.replaces)
            continue;
        QString reason;
        staged.placed = putInPlace(staged, &reason);
        if (!staged.placed) {
            failures.append({staged.path, reason});
            discard(staged);
        }
    }
    flushFolders(failures);
    for (Staged &staged : m_staged) {
        if (m_recorder && staged.fd >= 0 && (staged.placed || !staged.replaces))
            m_recorder->recordWritten(staged.path, staged.fd);
        discard(staged);
    }
    m_staged.clear();
    retireReplacedFiles();
    return failures;
}

void DurableWriteBatch::flushFolders(QList<Failure> &failures)
{
    // The renames are durable once their folders are; one flush per folder.
    QHash<QString, int> folderErrors;   // 0 for a folder on disk, else the flush's errno
    for (const Staged &staged : m_staged) {
        if (!staged.placed)
            continue;
        const QString folder = QFileInfo(staged.path).path();
        auto error = folderErrors.find(folder);
        if (error == folderErrors.end())
            error = folderErrors.insert(folder, m_calls.fsync(staged.directoryFd) == 0 ? 0 : errno);
        if (*error != 0)
            failures.append(
                {staged.path, systemError("could not write its folder to disk", *error), Left::NewNotDurable});
    }
}

void DurableWriteBatch::joinClosers()
{
    for (std::thread &closer : m_closers)
        closer.join();
    m_closers.clear();
}

void DurableWriteBatch::retireReplacedFiles()
{
    joinClosers();
    m_closing.clear();
    m_closing.swap(m_retired);
    const size_t closerCount = qMin<size_t>(m_closing.size(), 4);
    for (size_t first = 0; first < closerCount; ++first) {
        const auto closeEvery = [this, first, closerCount] {
            for (size_t i = first; i < m_closing.size(); i += closerCount)
                ::close(m_closing[i]);
        };
        try {
            m_closers.emplace_back(closeEvery);
        } catch (const std::system_error &) {
            closeEvery();
        }
    }
}

void DurableWriteBatch::flushFileSystems(QList<Failure> &failures)
{
    QHash<dev_t, QList<Staged *>> byFileSystem;
    for (Staged &staged : m_staged) {
        struct stat status {};
        if (::fstat(staged.fd, &status) != 0) {
            failures.append({staged.path, systemError("could not write it to disk"),
                             staged.replaces ? Left::AsItWas : Left::PiecesUncertain});
            discard(staged);
            continue;
        }
        byFileSystem[status.st_dev].append(&staged);
    }
    for (const QList<Staged *> &group : std::as_const(byFileSystem)) {
        if (m_calls.syncfs(group.first()->fd) == 0)
            continue;
        // The file system reports an error, without saying whose: none of its files is
        // taken as written, and no new file replaces an old one.
        const QString reason = systemError("could not write it to disk");
        for (Staged *staged : group) {
            failures.append({staged->path, reason, staged->replaces ? Left::AsItWas : Left::PiecesUncertain});
            discard(*staged);
        }
    }
}

bool DurableWriteBatch::putInPlace(Staged &staged, QString *reason)
{
    const QByteArray name = QFile::encodeName(QFileInfo(staged.path).fileName());
    // A file put at the path since the new one was made from the old one is not replaced.
    // Checked just before the rename, it narrows the window from the batch to an instant.
    struct stat current {}, old {};
    if (::fstatat(staged.directoryFd, name.constData(), &current, 0) != 0 || ::fstat(staged.oldFd, &old) != 0
        || current.st_dev != old.st_dev || current.st_ino != old.st_ino) {
        *reason = QStringLiteral("the file was moved or replaced while it was being written");
        return false;
    }
    if (staged.temporaryName.isEmpty()) {
        // Give the unnamed file a hidden name for the instant before the rename.
        const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(staged.fd);
        for (int attempt = 0; attempt < 8 && staged.temporaryName.isEmpty(); ++attempt) {
            const QByteArray hidden = HiddenNewFiles::name(staged.path);
            if (::linkat(AT_FDCWD, procPath.constData(), staged.directoryFd, hidden.constData(),
                         AT_SYMLINK_FOLLOW) == 0) {
                staged.temporaryName = hidden;
            } else if (errno != EEXIST) {
                *reason = systemError("could not name the new file");
                return false;
            }
        }
        if (staged.temporaryName.isEmpty()) {
            *reason = QStringLiteral("could not name the new file");
            return false;
        }
    }
    if (m_calls.renameat(staged.directoryFd, staged.temporaryName.constData(), staged.directoryFd, name.constData()) != 0) {
        *reason = systemError("could not replace the old file");
        return false;
    }
    staged.temporaryName.clear();
    m_retired.push_back(staged.oldFd);
    staged.oldFd = -1;
    return true;
}
