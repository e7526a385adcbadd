#pragma once

#include "search/HttpFetcher.h"
#include "search/SearchOutcome.h"
#include "search/XmlDocument.h"

#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>
#include <map>
#include <optional>

class JobControl;
class SearchEngine;

// One search from the first request to the last album. Each request goes out as soon as it is
// known: the later pages as soon as page 1 announces them, a page's covers as soon as the page
// is read. Covers are decoded and scaled on arrival, so their bytes are let go at once. Pages
// are walked strictly in order, each once its covers are in. Once the control (if any) is
// cancelled, no further page is walked and the run ends within a second, with the albums of
// the pages walked; transfers still out are left to the fetcher.
class SearchRun {
public:
    SearchRun(SearchEngine &engine, HttpFetcher &fetcher, QString keywords, QString host,
              JobControl *control = nullptr);
    SearchOutcome run();

private:
    struct Page {
        std::optional<XmlDocument> document; // none while in flight and after a failure
        QStringList coverUrls;
        bool arrived = false;
    };

    void askForPage(qint32 number);
    void pageArrived(qint32 number, const FetchResult &result);
    void coverArrived(const QString &url, const FetchResult &result);
    std::optional<XmlDocument> readAnswer(qint32 number, const FetchResult &result);
    void askForCovers(Page &page);
    void walkReadyPages();

    SearchEngine &m_engine;
    HttpFetcher &m_fetcher;
    const QString m_keywords;
    const QString m_host;
    QString m_shownHost; // the host as failures name it, without user information
    JobControl *const m_control;
    SearchOutcome m_outcome;
    std::map<qint32, Page> m_pages;
    qint32 m_pageCap = 1;
    qint32 m_nextToWalk = 1;
    QHash<HttpFetcher::TransferId, qint32> m_pageTransfers;
    QHash<HttpFetcher::TransferId, QString> m_coverTransfers;
    QSet<QString> m_coversAsked;
    QHash<QString, std::optional<QImage>> m_covers; // arrived covers by URL; none for a failed one
};
