#include "files/HiddenNewFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QByteArrayView newFileSuffix = ".tagwright-new";

// The process that made a new file of that name, if the name is one of ours.
std::optional<pid_t> makerOf(QByteArrayView name)
{
    if (!name.startsWith('.') || !name.endsWith(newFileSuffix))
        return std::nullopt;
    name.chop(newFileSuffix.size());
    const QByteArrayView tail = name.sliced(name.lastIndexOf('.') + 1);   // "PID-RANDOM"
    const qsizetype dash = tail.indexOf('-');
    bool isNumber = false;
    const int pid = dash > 0 ? tail.first(dash).toInt(&isNumber) : 0;
    if (!isNumber || pid <= 0)
        return std::nullopt;
    return pid;
}

} // namespace

QByteArray HiddenNewFiles::name(const QString &path)
{
    return '.' + QFile::encodeName(QFileInfo(path).fileName().left(64)) + '.' + QByteArray::number(::getpid())
           + '-' + QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0')
           + newFileSuffix.toByteArray();
}

void HiddenNewFiles::removeLeftovers(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR *entries = ::fdopendir(fd);
    if (!entries) {
        ::close(fd);
        return;
    }
    while (const dirent *entry = ::readdir(entries)) {
        const std::optional<pid_t> maker = makerOf(entry->d_name);
        if (!maker || ::kill(*maker, 0) == 0 || errno != ESRCH)
            continue;
        struct stat status {};
        if (::fstatat(fd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(entries);
}
