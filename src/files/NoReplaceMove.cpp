#include "files/NoReplaceMove.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

int NoReplaceMove::move(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    // EINVAL: the file system does not support the flag; ENOSYS: the kernel lacks the call.
    if (error == EINVAL || error == ENOSYS)
        return moveByLink(from, to);
    return error;
}

int NoReplaceMove::moveByLink(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    if (::unlink(source.constData()) != 0) {
        // Take the new name away again rather than leave the file under two names.
        const int error = errno;
        ::unlink(target.constData());
        return error;
    }
    return 0;
}

QString NoReplaceMove::describeError(int error)
{
    switch (error) {
    case EEXIST:
        return QStringLiteral("a file of the new name exists already");
    case ENAMETOOLONG:
        return QStringLiteral("the new name is longer than the file system allows");
    case EXDEV:
        return QStringLiteral("the new folder lies on another file system");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}
