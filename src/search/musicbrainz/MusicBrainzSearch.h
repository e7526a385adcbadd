#pragma once

#include "search/SearchOutcome.h"
#include "search/ServiceConfig.h"
#include "search/musicbrainz/LookupOutcome.h"
#include "search/musicbrainz/MusicBrainzClient.h"

#include <QString>
#include <chrono>

class JobControl;

// Searches the MusicBrainz web service for releases and looks single releases up with their
// tracks and Cover Art Archive front cover. A search gives its control a status line per album, as the
// storefront search does; a failure becomes a sentence a user can act on. A cancelled control
// stops the work before its next request.
class MusicBrainzSearch {
public:
    // The interval between requests to the web service is theirs to ask; tests shorten it, or
    // pace with a pacer of their own (the machine's when none is given).
    explicit MusicBrainzSearch(ServiceConfig config, FetchLimits limits = {},
                               std::chrono::milliseconds interval = MusicBrainzClient::defaultInterval,
                               RequestPacer *pacer = nullptr);

    // Up to 25 albums for the keywords, in the service's order, without tracks or cover.
    // Keywords that are a release's identifier or address give that release alone, looked
    // up with its tracks and cover.
    SearchOutcome search(const QString &keywords, JobControl *control = nullptr);
    // Up to 25 albums for a query in the service's own syntax (fields, phrases, operators),
    // sent as it is; as search() otherwise.
    SearchOutcome searchQuery(const QString &query, JobControl *control = nullptr);
    // The release with this identifier (or named by its musicbrainz.org address), with its
    // genre, tracks and cover; a release without a cover (404) is looked up without one.
    // Anything that is not a release identifier is refused before any request.
    LookupOutcome lookup(const QString &release, JobControl *control = nullptr);

private:
    // Why a fetch from the web service gave no answer to read, or nothing when it gave one.
    std::optional<QString> failureOf(const FetchResult &result, Fetched fetched) const;
    void addCover(ResultEntry &album, const QString &releaseId);

    ServiceConfig m_config;
    MusicBrainzClient m_client;
    QString m_host; // the web service's host (and port), as failures name it
};
