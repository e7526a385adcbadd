#include "identify/AlbumIdentifier.h"

#include "common/JobControl.h"
#include "identify/CandidateScore.h"
#include "search/musicbrainz/MusicBrainzSearch.h"

#include <algorithm>

Identification AlbumIdentifier::identify(const AlbumFiles &album, JobControl &control)
{
    Identification found{album, AlbumClues::of(album), std::nullopt, {}, {}, false};
    QList<std::shared_ptr<ResultEntry>> releases;
    for (const AlbumClues::Query &query : found.clues.queries()) {
        const SearchOutcome outcome = m_search.searchQuery(query.text, &control);
        if (cancelRequested(&control)) {
            found.cancelled = true;
            return found;
        }
        if (!outcome.failures.isEmpty()) {
            // A service that fails is not asked again for this album.
            found.failures.append(QStringLiteral("The search by the %1 failed: %2")
                                      .arg(AlbumClues::sourceName(query.source), outcome.failures.first().reason));
            return found;
        }
        if (!outcome.albums->isEmpty()) {
            found.foundBy = query.source;
            releases = outcome.albums->mid(0, candidateLimit);
            break;
        }
    }

    const CandidateScore score(album.files, found.clues);
    const qint64 planned = 1 + releases.size();
    for (qsizetype i = 0; i < releases.size(); ++i) {
        control.reportProgress(1 + i, planned);
        const QString releaseId = releases[i]->id().value_or(QString());
        const LookupOutcome looked = m_search.lookup(releaseId, &control);
        if (cancelRequested(&control)) {
            found.cancelled = true;
            break;
        }
        if (!looked.album) {
            found.failures.append(QStringLiteral("The look-up of release %1 (\"%2\") failed, so it is left out: %3")
                                      .arg(releaseId, releases[i]->albumName().value_or(QString()),
                                           looked.failure.value_or(QStringLiteral("no reason given"))));
            continue;
        }
        CandidateScore::Fit fit = score.of(*looked.album);
        found.candidates.append({fit.score, looked.album, std::move(fit.lineup)});
    }
    control.reportProgress(planned, planned);
    std::stable_sort(found.candidates.begin(), found.candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.score > b.score; });
    return found;
}

QList<Identification> AlbumIdentifier::identifyFiles(const ServiceConfig &config, const QStringList &files,
                                                     JobControl &control)
{
    MusicBrainzSearch search(config);
    AlbumIdentifier identifier(search);
    QList<Identification> all;
    for (const AlbumFiles::Folder &folder : AlbumFiles::foldersOf(files)) {
        for (const AlbumFiles &album : AlbumFiles::read(folder)) {
            if (cancelRequested(&control))
                return all;
            all.append(identifier.identify(album, control));
        }
    }
    return all;
}
