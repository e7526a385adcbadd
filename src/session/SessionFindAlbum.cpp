// Find album: the session identifies the files listed as a job, lists the releases that may
// be their album with their scores, and lines the files up with the best one that fits.
#include "session/Session.h"

#include "identify/AlbumIdentifier.h"
#include "identify/CandidateScore.h"
#include "session/SessionJobs.h"
#include "session/StatusText.h"

Session::Work<QList<Identification>> Session::identification(ServiceConfig config, QStringList files)
{
    return [config = std::move(config), files = std::move(files)](JobControl &control) {
        return AlbumIdentifier::identifyFiles(config, files, control);
    };
}

void Session::findAlbum()
{
    if (isBusy())
        return;
    const QStringList files = listedFiles();
    if (files.isEmpty())
        return status(StatusText::noFilesTo(QStringLiteral("identify")));
    status(StatusText::albumFindingStarted(files.size()));
    m_jobs->start<QList<Identification>>(identification(m_config, files), [this](const QList<Identification> &found) {
        takeIdentification(found);
    });
}

void Session::takeIdentification(const QList<Identification> &found)
{
    // Only a cancel ends the job before the files listed, all taggable, made an album.
    if (found.isEmpty() || found.last().cancelled)
        return status(StatusText::albumFindingCancelled());
    // The window pairs one album's files with one release's tracks.
    if (found.size() > 1)
        return status(StatusText::severalAlbums(found.size()));
    const Identification &identification = found.first();
    status(identification.failures);
    if (identification.candidates.isEmpty())
        return status(StatusText::noReleaseFound());

    auto albums = std::make_shared<ResultList>();
    for (const Candidate &candidate : identification.candidates)
        albums->append(candidate.album);
    setAlbums(albums);
    for (const Candidate &candidate : identification.candidates)
        m_scores.insert(candidate.album.get(), candidate.score);
    // Read anew, so that the album table takes the column of scores.
    emit albumsChanged();

    const Candidate *best = identification.confident(CandidateScore::confident);
    if (!best)
        return status(StatusText::noConfidentRelease(identification.candidates.first().score));
    showAlbum(best->album);
    emit albumChosen(0);
    const bool linedUp = takeLineup(best->lineup);
    status(StatusText::albumFound(*best->album, best->score, linedUp ? std::optional(best->lineup) : std::nullopt));
}
