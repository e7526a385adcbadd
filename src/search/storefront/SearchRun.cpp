#include "search/storefront/SearchRun.h"

#include "common/JobControl.h"
#include "search/CoverImage.h"
#include "search/storefront/SearchEngine.h"

#include <algorithm>

namespace {

constexpr qint32 maxPages = 3;

} // namespace

SearchRun::SearchRun(SearchEngine &engine, HttpFetcher &fetcher, QString keywords, QString host,
                     JobControl *control)
    : m_engine(engine), m_fetcher(fetcher), m_keywords(std::move(keywords)), m_host(std::move(host)),
      m_shownHost(shownHost(QStringLiteral("http://") + m_host)), m_control(control)
{
    // A host that is no URL's host is named as it was given.
    if (m_shownHost.isEmpty())
        m_shownHost = m_host;
}

SearchOutcome SearchRun::run()
{
    askForPage(1);
    reportProgress(m_control, 0, 0);
    const auto cancelled = [this] { return cancelRequested(m_control); };
    while (std::optional<std::pair<HttpFetcher::TransferId, FetchResult>> done = m_fetcher.next(cancelled)) {
        if (const auto page = m_pageTransfers.constFind(done->first); page != m_pageTransfers.cend())
            pageArrived(page.value(), done->second);
        else if (const auto cover = m_coverTransfers.constFind(done->first); cover != m_coverTransfers.cend())
            coverArrived(cover.value(), done->second);
        walkReadyPages();
    }
    std::stable_sort(m_outcome.failures.begin(), m_outcome.failures.end(),
                     [](const PageFailure &a, const PageFailure &b) { return a.page < b.page; });
    return std::move(m_outcome);
}

void SearchRun::askForPage(qint32 number)
{
    m_pages[number];
    ++m_outcome.pagesAsked;
    // Urgent: a page names the next requests, so it is read before any cover is decoded.
    m_pageTransfers.insert(m_fetcher.start(m_engine.requestUrlForPage(m_keywords, m_host, number), true), number);
}

void SearchRun::pageArrived(qint32 number, const FetchResult &result)
{
    Page &page = m_pages[number];
    page.arrived = true;
    page.document = readAnswer(number, result);
    if (number == 1) {
        // Signed comparison: a total of 0 or below asks for no further page.
        const qint32 total = SearchEngine::getTotalPagesFromItemSearchResult(page.document ? &*page.document : nullptr);
        m_pageCap = std::max(1, std::min(total, maxPages));
        for (qint32 later = 2; later <= m_pageCap; ++later)
            askForPage(later);
    }
    askForCovers(page);
}

std::optional<XmlDocument> SearchRun::readAnswer(qint32 number, const FetchResult &result)
{
    if (!result.succeeded() && result.failure != FetchFailure::HttpStatus) {
        m_outcome.failures.append(PageFailure::fetchFailed(number, result, m_shownHost));
        return std::nullopt;
    }
    // The service explains a refusal in the body, whatever the status it comes with.
    std::optional<XmlDocument> document = XmlDocument::parse(result.body);
    if (document) {
        if (const std::optional<QString> code = SearchEngine::refusalCodeOf(*document)) {
            m_outcome.failures.append(PageFailure::serviceRefused(number, *code));
            return std::nullopt;
        }
    }
    if (!result.succeeded()) {
        m_outcome.failures.append(PageFailure::fetchFailed(number, result, m_shownHost));
        return std::nullopt;
    }
    if (!document)
        m_outcome.failures.append(PageFailure::unreadable(number, m_shownHost));
    return document;
}

void SearchRun::askForCovers(Page &page)
{
    if (!page.document)
        return;
    for (const pugi::xml_node &item : SearchEngine::itemsOfResult(&*page.document)) {
        const std::optional<QString> url = SearchEngine::coverUrlOfItem(item);
        if (!url || !SearchEngine::isFetchableCoverUrl(*url))
            continue;
        page.coverUrls.append(*url);
        if (!m_coversAsked.contains(*url)) {
            m_coversAsked.insert(*url);
            m_coverTransfers.insert(m_fetcher.start(*url), *url);
        }
    }
}

void SearchRun::coverArrived(const QString &url, const FetchResult &result)
{
    m_covers.insert(url, result.succeeded() ? decodeCoverImage(result.body) : std::nullopt);
}

void SearchRun::walkReadyPages()
{
    const SearchEngine::CoverLookup lookup = [this](const QString &url) { return m_covers.value(url); };
    while (m_nextToWalk <= m_pageCap && !cancelRequested(m_control)) {
        const auto found = m_pages.find(m_nextToWalk);
        if (found == m_pages.end() || !found->second.arrived)
            return;
        const Page &page = found->second;
        if (!std::all_of(page.coverUrls.cbegin(), page.coverUrls.cend(),
                         [this](const QString &url) { return m_covers.contains(url); }))
            return;
        m_engine.addResultEntriesFromResult(page.document ? &*page.document : nullptr, *m_outcome.albums, lookup, m_control);
        m_pages.erase(found);
        ++m_nextToWalk;
        reportProgress(m_control, m_outcome.albums->size(), 0);
    }
}
