#pragma once

#include "search/storefront/SearchEngine.h"

// The reference client the benchmark measures against: the same signed requests and the same
// extraction, but every page and then every cover is fetched one after the other, each on a
// connection of its own.
class OneAtATimeSearch {
public:
    explicit OneAtATimeSearch(ServiceConfig config);
    ResultListPtr buildSearchResultFromKeywords(const QString &keywords, const QString &engine);

private:
    SearchEngine m_engine;
};
