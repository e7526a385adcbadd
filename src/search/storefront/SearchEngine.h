#pragma once

#include "search/FetchLimits.h"
#include "album/ResultEntry.h"
#include "search/SearchOutcome.h"
#include "search/ServiceConfig.h"
#include "search/XmlDocument.h"

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class HttpFetcher;
class JobControl;

// The album search client: runs a signed ItemSearch in the music index of the product-catalogue
// web service for up to three result pages and turns every item into an album record, giving
// out a status line after each one. One instance serves one search. Whatever the answers say, a
// search holds a bounded amount: at most ten items a page, a thousand tracks an item, and
// covers scaled down on arrival.
class SearchEngine {
public:
    // Gives the decoded picture for an item's cover URL, or nothing.
    using CoverLookup = std::function<std::optional<QImage>(const QString &url)>;

    SearchEngine();
    explicit SearchEngine(ServiceConfig config, FetchLimits limits = {});
    ~SearchEngine();
    SearchEngine(const SearchEngine &) = delete;
    SearchEngine &operator=(const SearchEngine &) = delete;

    // The albums found for the keywords at the storefront ("de", "com", "co.uk", "fr"), and the
    // pages that failed. An unknown storefront is never sent anywhere; it and a failed first
    // page give an empty list, each with its failure. With a control, reports the albums read
    // so far (of an unknown total) and, once cancelled, stops before the next page and keeps
    // the albums read until then.
    SearchOutcome buildSearchResultFromKeywords(const QString &keywords, const QString &engine,
                                                JobControl *control = nullptr);

    // The current time in UTC as "yyyy-MM-ddTHH:mm:ssZ".
    static QString utcTimestamp();
    // The pairs "key=escaped value" joined by "&", keys in ascending byte order.
    static QString queryStringForParameterDictionary(const QMap<QString, QString> &parameters);
    // "GET", the host, "/onca/soap" and the query, each on its own line.
    static QString signatureInputForQueryString(const QString &queryString, const QString &host);
    // HMAC-SHA256 of the data keyed with the secret, in Base64, percent-escaped for a URL.
    static QString makeSignature(const QString &secret, const QByteArray &data);

    // The leading integer of the answer's TotalPages; 0 without a document or a total.
    static qint32 getTotalPagesFromItemSearchResult(const XmlDocument *result);
    // Appends one album per item of the answer (the first ten), with a status line to the
    // control after each.
    void addResultEntriesFromResult(const XmlDocument *result, ResultList &resultList, const CoverLookup &covers,
                                    JobControl *control = nullptr);
    // Appends exactly one album for the item element, also when its extraction fails part-way;
    // such a failure is logged and goes no further. Tracks past the thousandth are left out.
    void addDetailsForResultEntryFromItem(const pugi::xml_node &item, ResultList &resultList,
                                          const CoverLookup &covers);
    // Replaces every ":" by "-", in place.
    static QString &replaceSpecialCharacters(QString &text);
    // Removes every apostrophe ("'"), in place.
    static QString &replaceUnWantedCharactersFromSearchString(QString &text);

    // The endpoint host for a storefront code; the empty text for any other code.
    QString hostForEngine(const QString &engine) const;
    // The signed request URL for one result page, with a fresh timestamp.
    QString requestUrlForPage(const QString &keywords, const QString &host, qint32 page) const;
    // The cover URL an item names, whatever its scheme.
    static std::optional<QString> coverUrlOfItem(const pugi::xml_node &item);
    // Only http and https URLs are ever fetched for a cover.
    static bool isFetchableCoverUrl(const QString &url);
    // The error code of a service answer that refuses the request, if it is one. "No exact
    // matches" is an empty result, not a refusal.
    static std::optional<QString> refusalCodeOf(const XmlDocument &answer);
    // The item elements of an answer that a search reads: the first ten; none without a document.
    static QList<pugi::xml_node> itemsOfResult(const XmlDocument *result);

    static constexpr qsizetype maxItemsPerPage = 10;   // the service sends ten at most
    static constexpr qsizetype maxTracksPerItem = maxTracksPerAlbum;

private:
    ServiceConfig m_config;
    std::unique_ptr<HttpFetcher> m_fetcher;
};

// Orders two keys by their UTF-8 bytes as unsigned values; a proper prefix sorts first.
// Negative, zero or positive as with strcmp.
int stringByteSort(const QString &a, const QString &b);
