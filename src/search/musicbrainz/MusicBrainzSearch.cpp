#include "search/musicbrainz/MusicBrainzSearch.h"

#include "common/JobControl.h"
#include "search/CoverImage.h"
#include "search/musicbrainz/MusicBrainzId.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "search/musicbrainz/ReleaseReader.h"

#include <QDebug>

MusicBrainzSearch::MusicBrainzSearch(ServiceConfig config, FetchLimits limits, std::chrono::milliseconds interval,
                                     RequestPacer *pacer)
    : m_config(std::move(config)), m_client(limits, interval, pacer),
      m_host(shownHost(m_config.musicBrainzUrl))
{
    if (m_host.isEmpty())
        m_host = m_config.musicBrainzUrl;
}

std::optional<QString> MusicBrainzSearch::failureOf(const FetchResult &result, Fetched fetched) const
{
    if (MusicBrainzClient::isBusy(result))
        return QStringLiteral("the service is busy (HTTP 503) after %1 tries").arg(MusicBrainzClient::maxTries);
    if (!result.succeeded())
        return PageFailure::fetchFailed(1, result, m_host, fetched).reason;
    return std::nullopt;
}

SearchOutcome MusicBrainzSearch::search(const QString &keywords, JobControl *control)
{
    // A text search for an identifier or a release's address finds nothing: look it up.
    if (const std::optional<QString> releaseId = MusicBrainzId::releaseIdFrom(keywords)) {
        SearchOutcome outcome;
        outcome.pagesAsked = 1;
        reportProgress(control, 0, 0);
        const LookupOutcome found = lookup(*releaseId, control);
        if (found.failure)
            outcome.failures.append({1, *found.failure});
        if (found.album) {
            outcome.albums->append(found.album);
            reportStatus(control, entryProcessedStatus(1));
            reportProgress(control, 1, 0);
        }
        return outcome;
    }
    return searchQuery(MusicBrainzService::luceneEscaped(keywords), control);
}

SearchOutcome MusicBrainzSearch::searchQuery(const QString &query, JobControl *control)
{
    SearchOutcome outcome;
    outcome.pagesAsked = 1;
    reportProgress(control, 0, 0);
    const std::optional<FetchResult> fetched =
        m_client.fetchFromService(MusicBrainzService::queryUrl(m_config.musicBrainzUrl, query), control);
    if (!fetched)
        return outcome;
    if (const std::optional<QString> failure = failureOf(*fetched, Fetched::SearchAnswer)) {
        outcome.failures.append({1, *failure});
        return outcome;
    }
    const std::optional<XmlDocument> answer = XmlDocument::parse(fetched->body);
    if (!answer) {
        outcome.failures.append(PageFailure::unreadable(1, m_host));
        return outcome;
    }
    QList<pugi::xml_node> releases = ReleaseReader::releasesOfSearch(*answer);
    // No more than were asked for, whatever the answer holds.
    if (releases.size() > MusicBrainzService::searchLimit)
        releases.resize(MusicBrainzService::searchLimit);
    ReleaseReader reader;
    for (const pugi::xml_node &release : std::as_const(releases)) {
        outcome.albums->append(reader.albumOfRelease(release));
        reportStatus(control, entryProcessedStatus(outcome.albums->size()));
        reportProgress(control, outcome.albums->size(), 0);
    }
    if (reader.textsCut())
        reportStatus(control, TextBounds::cutStatus(m_host));
    return outcome;
}

LookupOutcome MusicBrainzSearch::lookup(const QString &release, JobControl *control)
{
    LookupOutcome outcome;
    const std::optional<QString> requested = MusicBrainzId::releaseIdFrom(release);
    if (!requested) {
        outcome.failure = MusicBrainzId::notAReleaseId(release);
        return outcome;
    }
    const QString &releaseId = *requested;
    const std::optional<FetchResult> fetched =
        m_client.fetchFromService(MusicBrainzService::lookupUrl(m_config.musicBrainzUrl, releaseId), control);
    if (!fetched)
        return outcome;
    if (fetched->httpStatus == 404) {
        outcome.failure = QStringLiteral("%1 knows no release with the id \"%2\"").arg(m_host, releaseId);
        return outcome;
    }
    if ((outcome.failure = failureOf(*fetched, Fetched::LookupAnswer)))
        return outcome;
    const std::optional<XmlDocument> answer = XmlDocument::parse(fetched->body);
    const pugi::xml_node releaseNode = answer ? ReleaseReader::releaseOfLookup(*answer) : pugi::xml_node();
    if (!releaseNode) {
        outcome.failure = PageFailure::unreadable(1, m_host).reason;
        return outcome;
    }
    ReleaseReader reader;
    std::shared_ptr<ResultEntry> album = reader.albumOfRelease(releaseNode);
    reader.addLookupDetails(*album, releaseNode);
    if (reader.textsCut())
        reportStatus(control, TextBounds::cutStatus(m_host));
    // The cover is asked for under the id the answer gives (a merged release answers under
    // its new one), which must be an id like any other before it goes into a URL.
    const QString answeredId = album->id().value_or(releaseId);
    if (!MusicBrainzId::isReleaseId(answeredId)) {
        outcome.failure = QStringLiteral("the answer from %1 is unusable: %2").arg(m_host, MusicBrainzId::notAReleaseId(answeredId));
        return outcome;
    }
    if (cancelRequested(control))
        return outcome;
    addCover(*album, answeredId);
    outcome.album = std::move(album);
    return outcome;
}

void MusicBrainzSearch::addCover(ResultEntry &album, const QString &releaseId)
{
    const QString url = MusicBrainzService::coverUrl(m_config.coverArtUrl, releaseId);
    const FetchResult result = m_client.fetchCover(url);
    // No cover is a usual answer; any other failure only costs the album its cover.
    if (result.httpStatus == 404)
        return;
    if (!result.succeeded()) {
        qWarning().noquote() << QStringLiteral("No cover from %1: %2")
                                    .arg(shownUrl(url), PageFailure::fetchFailed(1, result, shownHost(url), Fetched::Cover).reason);
        return;
    }
    std::optional<QImage> cover = decodeCoverImage(result.body);
    if (!cover) {
        qWarning().noquote() << refusedCoverReason(result.body, url);
        return;
    }
    album.setCover(std::move(cover));
    album.setCoverUrl(url);
}
