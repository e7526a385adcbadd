#include "cli/LibraryRun.h"

#include "common/JobControl.h"
#include "identify/AlbumIdentifier.h"
#include "search/ServiceConfig.h"
#include "search/musicbrainz/MusicBrainzSearch.h"

#include <QElapsedTimer>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t interrupted = 0;
// The control of the album being identified, for the signal handler to cancel; lock-free, so
// the handler may touch it.
std::atomic<JobControl *> identifying{nullptr};
static_assert(std::atomic<JobControl *>::is_always_lock_free);

extern "C" void stopBetweenAlbums(int)
{
    interrupted = 1;
    if (JobControl *control = identifying.load())
        control->requestCancel();
    std::signal(SIGINT, SIG_DFL);
}

// "about 3 min left", once a folder has shown how long one takes.
QString timeLeft(qint64 elapsedMs, qsizetype done, qsizetype total)
{
    if (done == 0)
        return QString();
    const qint64 seconds = elapsedMs * (total - done) / done / 1000;
    if (seconds < 90)
        return QStringLiteral(" (about %1 s left)").arg(seconds);
    if (seconds < 90 * 60)
        return QStringLiteral(" (about %1 min left)").arg((seconds + 30) / 60);
    return QStringLiteral(" (about %1 h %2 min left)").arg(seconds / 3600).arg((seconds % 3600 + 30) / 60);
}

} // namespace

LibraryRun::LibraryRun(QString command, Skip skip, Handle handle)
    : m_command(std::move(command)), m_skip(std::move(skip)), m_handle(std::move(handle))
{
}

void LibraryRun::printLine(const QString &line) const
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

bool LibraryRun::run(const QStringList &paths)
{
    const QList<AlbumFiles::Folder> folders = AlbumFiles::foldersOf(paths);
    if (folders.isEmpty())
        printLine(QStringLiteral("tagwright-cli %1: no music files found").arg(m_command));
    MusicBrainzSearch search(ServiceConfig::load());
    AlbumIdentifier identifier(search);
    interrupted = 0;
    std::signal(SIGINT, stopBetweenAlbums);
    QElapsedTimer clock;
    clock.start();
    for (qsizetype i = 0; i < folders.size() && !interrupted; ++i) {
        const AlbumFiles::Folder &folder = folders.at(i);
        printLine(QStringLiteral("Folder %1 of %2: %3%4").arg(i + 1).arg(folders.size())
                      .arg(folder.path, timeLeft(clock.elapsed(), i, folders.size())));
        for (const AlbumFiles &album : AlbumFiles::read(folder)) {
            if (interrupted)
                break;
            if (m_skip && m_skip(album))
                continue;
            JobControl control;
            identifying.store(&control);
            const Identification identification = identifier.identify(album, control);
            identifying.store(nullptr);
            if (identification.cancelled || interrupted)
                break;
            for (const QString &failure : identification.failures)
                printLine(QStringLiteral("tagwright-cli %1: %2: %3.").arg(m_command, album.folder, failure));
            m_handle(identification);
        }
    }
    std::signal(SIGINT, SIG_DFL);
    if (interrupted)
        printLine(QStringLiteral("tagwright-cli %1: stopped by Ctrl+C; no file was left half-written").arg(m_command));
    return !interrupted;
}
