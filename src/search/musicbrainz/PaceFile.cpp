#include "search/musicbrainz/PaceFile.h"

#include <QDebug>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int timeWidth = 20; // digits of a time, zero-padded, then a newline

// A folder only this user can write, so no one else can put a file or a link in its place.
bool isOwnPrivateFolder(const QByteArray &path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()
           && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd); // lets the lock go too
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

bool PaceFile::update(const Claim &claim) const
{
    if (m_path.isEmpty())
        return false;
    const Descriptor file(::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (file.fd() < 0)
        return false;
    int locked = -1;
    while ((locked = ::flock(file.fd(), LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0)
        return false;
    char text[timeWidth + 1] = {};
    const ssize_t read = ::pread(file.fd(), text, timeWidth, 0);
    std::optional<qint64> last;
    if (read == timeWidth) {
        bool ok = false;
        const qint64 value = QByteArray(text, timeWidth).toLongLong(&ok);
        if (ok)
            last = value;
    }
    if (const std::optional<qint64> next = claim(last)) {
        const QByteArray written = QByteArray::number(*next).rightJustified(timeWidth, '0') + '\n';
        // A failed write leaves the old time, or one that reads as none: at worst one
        // request goes out early.
        if (::pwrite(file.fd(), written.constData(), size_t(written.size()), 0) != written.size())
            qWarning().noquote() << QStringLiteral("Could not keep the time of the last request in %1").arg(m_path);
    }
    return true;
}

QString PaceFile::defaultPath()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(QFile::decodeName(runtime)) && isOwnPrivateFolder(runtime))
        return QFile::decodeName(runtime) + QStringLiteral("/tagwright-musicbrainz.pace");
    const QString own = QDir::tempPath() + QStringLiteral("/tagwright-%1").arg(::getuid());
    const QByteArray ownPath = QFile::encodeName(own);
    if (::mkdir(ownPath.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    return isOwnPrivateFolder(ownPath) ? own + QStringLiteral("/musicbrainz.pace") : QString();
}
