#pragma once

#include "search/FetchResult.h"
#include "album/ResultEntry.h"

#include <QList>
#include <QString>
#include <optional>

// What a fetch was for, as a failure names it.
enum class Fetched { SearchAnswer, LookupAnswer, Cover };

// One result page that added nothing because it could not be had or read, and why, in words a
// user can act on (no final full stop, so sentences can be joined).
struct PageFailure {
    qint32 page = 0;
    QString reason;

    // The storefront code names no service host, so nothing was sent.
    static PageFailure noHost(qint32 page, const QString &storefront);
    // The fetch itself failed, or the answer had a non-2xx status and no error code of the
    // service. The host a redirect led to is named instead of the one asked, when there is one.
    static PageFailure fetchFailed(qint32 page, const FetchResult &result, const QString &host,
                                   Fetched fetched = Fetched::SearchAnswer);
    // The service answered with an error code of its own (e.g. "SignatureDoesNotMatch").
    static PageFailure serviceRefused(qint32 page, const QString &code);
    // The answer was not an XML document we read (malformed, or nested too deeply).
    static PageFailure unreadable(qint32 page, const QString &host);
};

// The status line every search posts after each album it read, with the count so far.
inline QString entryProcessedStatus(qsizetype albums)
{
    return QStringLiteral("New entry processed. %1 entries processed.").arg(albums);
}

// What a search brought: the albums found and the pages that failed. A search that finds
// nothing without any failed page is an empty result, not a failure.
struct SearchOutcome {
    ResultListPtr albums = std::make_shared<ResultList>(); // never null
    QList<PageFailure> failures;                           // in page order
    qint32 pagesAsked = 0;

    bool everyPageFailed() const { return !failures.isEmpty() && failures.size() == pagesAsked; }
    // The status line that says why pages failed, e.g. "Search failed: could not connect to
    // webservices.amazon.de (connection refused)."; nothing when no page failed.
    std::optional<QString> failureStatus() const;
};
