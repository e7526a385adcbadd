#include "search/musicbrainz/MusicBrainzSearch.h"

#include "common/JobControl.h"
#include "common/StatusNotification.h"
#include "search/CoverImage.h"
#include "search/musicbrainz/MusicBrainzId.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "search/musicbrainz/ReleaseReader.h"

#include <QDebug>
#include <QUrl>

MusicBrainzSearch::MusicBrainzSearch(ServiceConfig config, FetchLimits limits, std::chrono::milliseconds interval)
    : m_config(std::move(config)), m_client(limits, interval),
      m_host(QUrl(m_config.musicBrainzUrl).authority())
{
    if (m_host.isEmpty())
        m_host = m_config.musicBrainzUrl;
}

std::optional<QString> MusicBrainzSearch::failureOf(const FetchResult &result) const
{
    if (MusicBrainzClient::isBusy(result))
        return QStringLiteral("the service is busy (HTTP 503) after %1 tries").arg(MusicBrainzClient::maxTries);
    if (!result.succeeded())
        return PageFailure::fetchFailed(1, result, m_host).reason;
    return std::nullopt;
}

SearchOutcome MusicBrainzSearch::search(const QString &keywords, JobControl *control)
{
    SearchOutcome outcome;
    outcome.pagesAsked = 1;
    reportProgress(control, 0, 0);
    // A text search for an identifier or a release's address finds nothing: look it up.
    if (const std::optional<QString> releaseId = MusicBrainzId::releaseIdFrom(keywords)) {
        const LookupOutcome found = lookup(*releaseId, control);
        if (found.failure)
            outcome.failures.append({1, *found.failure});
        if (found.album) {
            outcome.albums->append(found.album);
            postStatusChange(this, entryProcessedStatus(1));
            reportProgress(control, 1, 0);
        }
        return outcome;
    }
    const std::optional<FetchResult> fetched =
        m_client.fetchFromService(MusicBrainzService::searchUrl(m_config.musicBrainzUrl, keywords), control);
    if (!fetched)
        return outcome;
    if (const std::optional<QString> failure = failureOf(*fetched)) {
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
    for (const pugi::xml_node &release : std::as_const(releases)) {
        outcome.albums->append(ReleaseReader::albumOfRelease(release));
        postStatusChange(this, entryProcessedStatus(outcome.albums->size()));
        reportProgress(control, outcome.albums->size(), 0);
    }
    return outcome;
}

LookupOutcome MusicBrainzSearch::lookup(const QString &releaseId, JobControl *control)
{
    LookupOutcome outcome;
    const std::optional<FetchResult> fetched =
        m_client.fetchFromService(MusicBrainzService::lookupUrl(m_config.musicBrainzUrl, releaseId), control);
    if (!fetched)
        return outcome;
    if (fetched->httpStatus == 404) {
        outcome.failure = QStringLiteral("%1 knows no release with the id \"%2\"").arg(m_host, releaseId);
        return outcome;
    }
    if ((outcome.failure = failureOf(*fetched)))
        return outcome;
    const std::optional<XmlDocument> answer = XmlDocument::parse(fetched->body);
    const pugi::xml_node release = answer ? ReleaseReader::releaseOfLookup(*answer) : pugi::xml_node();
    if (!release) {
        outcome.failure = PageFailure::unreadable(1, m_host).reason;
        return outcome;
    }
    std::shared_ptr<ResultEntry> album = ReleaseReader::albumOfRelease(release);
    ReleaseReader::addLookupDetails(*album, release);
    if (cancelRequested(control))
        return outcome;
    addCover(*album, album->id().value_or(releaseId));
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
    std::optional<QImage> cover = result.succeeded() ? decodeCoverImage(result.body) : std::nullopt;
    if (!cover) {
        qWarning().noquote() << QStringLiteral("No cover from %1: %2")
                                    .arg(url, result.succeeded() ? QStringLiteral("not a picture")
                                                                 : PageFailure::fetchFailed(1, result, QUrl(url).authority()).reason);
        return;
    }
    album.setCover(std::move(cover));
    album.setCoverUrl(url);
}
