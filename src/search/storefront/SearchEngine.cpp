#include "search/storefront/SearchEngine.h"

#include "common/ExceptionName.h"
#include "common/JobControl.h"
#include "search/HttpFetcher.h"
#include "album/IntValue.h"
#include "search/TextBounds.h"
#include "search/storefront/SearchRun.h"
#include "search/storefront/StringExtension.h"

#include <QDateTime>
#include <QDebug>
#include <QMessageAuthenticationCode>
#include <QUrl>
#include <algorithm>
#include <cstring>

namespace {

const QString requestPath = QStringLiteral("/onca/soap");

constexpr const char *itemsPath = "ItemSearchResponse/Items/Item";
constexpr const char *totalPagesPath = "ItemSearchResponse/Items/TotalPages";
constexpr const char *asinPath = "ASIN";
constexpr const char *genrePath = "BrowseNodes/BrowseNode[Name=\"Allgemein\"]/Ancestors/BrowseNode/Name";
constexpr const char *labelPath = "ItemAttributes/Label";
constexpr const char *artistPath = "ItemAttributes/Artist";
constexpr const char *titlePath = "ItemAttributes/Title";
constexpr const char *releaseDatePath = "ItemAttributes/ReleaseDate";
constexpr const char *coverUrlPath = "LargeImage/URL";
constexpr const char *discCountPath = "ItemAttributes/NumberOfDiscs";
constexpr const char *discsPath = "Tracks/Disc";
constexpr const char *trackPath = "Track";
constexpr const char *topLevelErrorPath = "*/Error/Code";
constexpr const char *requestErrorPath = "*/Items/Request/Errors/Error/Code";
const QString noExactMatches = QStringLiteral("AWS.ECommerceService.NoExactMatches");

// A disc's or track's place: its Number attribute when that is a plain positive number no
// larger than an item may hold tracks, else its position among its siblings (from 1).
int numberOrPosition(const pugi::xml_node &node, int position)
{
    const QString text = QString::fromUtf8(node.attribute("Number").value()).trimmed();
    const bool digitsOnly = !text.isEmpty() && text.size() <= 4
                            && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const int number = digitsOnly ? text.toInt() : 0;
    return number > 0 && number <= SearchEngine::maxTracksPerItem ? number : position;
}

void logExtractionFailure(const QString &name, const QString &reason)
{
    qWarning().noquote()
        << QStringLiteral("SearchEngine:addDetailsForResultEntryFromItem:ToResultList: Caught %1: %2").arg(name, reason);
}

} // namespace

SearchEngine::SearchEngine() : SearchEngine(ServiceConfig::load())
{
}

SearchEngine::SearchEngine(ServiceConfig config, FetchLimits limits)
    : m_config(std::move(config)), m_fetcher(std::make_unique<HttpFetcher>(limits))
{
}

SearchEngine::~SearchEngine() = default;

SearchOutcome SearchEngine::buildSearchResultFromKeywords(const QString &keywords, const QString &engine,
                                                          JobControl *control)
{
    const QString host = hostForEngine(engine);
    // A storefront without a host is never sent anywhere: the signed request would otherwise
    // go to whatever host name a URL parser makes of its path.
    if (host.isEmpty()) {
        SearchOutcome outcome;
        outcome.pagesAsked = 1;
        outcome.failures.append(PageFailure::noHost(1, engine));
        return outcome;
    }
    return SearchRun(*this, *m_fetcher, keywords, host, control).run();
}

int stringByteSort(const QString &a, const QString &b)
{
    const QByteArray left = a.toUtf8();
    const QByteArray right = b.toUtf8();
    const qsizetype common = std::min(left.size(), right.size());
    // memcmp compares as unsigned char, which is the byte order wanted here.
    const int byBytes = common ? std::memcmp(left.constData(), right.constData(), size_t(common)) : 0;
    if (byBytes != 0)
        return byBytes;
    return left.size() < right.size() ? -1 : (left.size() > right.size() ? 1 : 0);
}

QString SearchEngine::utcTimestamp()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDate date = now.date();
    const QTime time = now.time();
    // Formatted by hand so no locale can change the digits or the calendar.
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02dZ", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second());
}

QString SearchEngine::queryStringForParameterDictionary(const QMap<QString, QString> &parameters)
{
    QStringList keys = parameters.keys();
    std::sort(keys.begin(), keys.end(),
              [](const QString &a, const QString &b) { return stringByteSort(a, b) < 0; });
    QStringList pairs;
    pairs.reserve(keys.size());
    for (const QString &key : keys)
        pairs.append(key + u'=' + stringByEscapingHTTPReserved(parameters.value(key)));
    return pairs.join(u'&');
}

QString SearchEngine::signatureInputForQueryString(const QString &queryString, const QString &host)
{
    return QStringLiteral("GET\n") + host + u'\n' + requestPath + u'\n' + queryString;
}

QString SearchEngine::makeSignature(const QString &secret, const QByteArray &data)
{
    const QByteArray digest =
        QMessageAuthenticationCode::hash(data, secret.toLatin1(), QCryptographicHash::Sha256);
    // 32 bytes always fit; no text only comes from an allocation that could not be had.
    return stringByEscapingHTTPReserved(base64Encoding(digest).value_or(QString()));
}

qint32 SearchEngine::getTotalPagesFromItemSearchResult(const XmlDocument *result)
{
    if (!result)
        return 0;
    const QList<pugi::xml_node> totals = XmlDocument::nodesForXPath(result->node(), totalPagesPath);
    return totals.isEmpty() ? 0 : intValue(XmlDocument::stringValue(totals.first()));
}

void SearchEngine::addResultEntriesFromResult(const XmlDocument *result, ResultList &resultList,
                                              const CoverLookup &covers, JobControl *control)
{
    TextBounds bounds;
    for (const pugi::xml_node &item : itemsOfResult(result)) {
        addDetailsForResultEntryFromItem(item, resultList, covers);
        bounds.bound(*resultList.last());
        reportStatus(control, entryProcessedStatus(resultList.size()));
    }
    if (bounds.cut())
        reportStatus(control, TextBounds::cutStatus(QStringLiteral("the storefront")));
}

void SearchEngine::addDetailsForResultEntryFromItem(const pugi::xml_node &item, ResultList &resultList,
                                                    const CoverLookup &covers)
{
    auto entry = std::make_shared<ResultEntry>();
    // The steps run in this order on purpose: a failure leaves the later fields unset.
    try {
        const auto first = [&item](const char *path) -> std::optional<QString> {
            const QList<pugi::xml_node> nodes = XmlDocument::nodesForXPath(item, path);
            if (nodes.isEmpty())
                return std::nullopt;
            return XmlDocument::stringValue(nodes.first());
        };

        if (const std::optional<QString> asin = first(asinPath))
            entry->setAsinNumber(*asin);
        entry->setGenre(first(genrePath).value_or(QString()));
        entry->setLabel(first(labelPath).value_or(QString()));

        // Several credited artists leave the album, and so its tracks, without artist.
        const QList<pugi::xml_node> artists = XmlDocument::nodesForXPath(item, artistPath);
        QString artist;
        if (artists.size() == 1) {
            artist = XmlDocument::stringValue(artists.first());
            replaceSpecialCharacters(artist);
        }
        entry->setArtistName(artist);

        QString title = first(titlePath).value_or(QString());
        entry->setAlbumName(replaceSpecialCharacters(title));

        // The year is the date's first four characters; a shorter date is taken as it stands.
        if (const std::optional<QString> releaseDate = first(releaseDatePath))
            entry->setYearOfPublication(releaseDate->left(4));

        if (const std::optional<QString> coverUrl = coverUrlOfItem(item)) {
            entry->setCover(covers(*coverUrl));
            // Kept only where it can be fetched again, e.g. by a later tagging of the album.
            if (isFetchableCoverUrl(*coverUrl))
                entry->setCoverUrl(*coverUrl);
        }

        if (const std::optional<QString> discCount = first(discCountPath))
            entry->setNumberOfDiscs(intValue(*discCount));

        const QList<pugi::xml_node> discs = XmlDocument::nodesForXPath(item, discsPath);
        if (!discs.isEmpty()) {
            auto tracks = std::make_shared<TrackList>();
            for (qsizetype d = 0; d < discs.size(); ++d) {
                const int discNumber = numberOrPosition(discs[d], int(d + 1));
                const QList<pugi::xml_node> discTracks = XmlDocument::nodesForXPath(discs[d], trackPath);
                for (qsizetype t = 0; t < discTracks.size() && tracks->size() < maxTracksPerItem; ++t) {
                    auto track = std::make_shared<Track>();
                    QString trackTitle = XmlDocument::stringValue(discTracks[t]);
                    track->setTitle(replaceSpecialCharacters(trackTitle));
                    track->setArtist(entry->artistName());
                    track->setDiscNumber(discNumber);
                    track->setNumberOnDisc(numberOrPosition(discTracks[t], int(t + 1)));
                    tracks->append(std::move(track));
                }
            }
            // Attached only when complete, so a failure never leaves half a list behind.
            const auto trackCount = qint32(tracks->size());
            entry->setTrackList(std::move(tracks));
            entry->setNumberOfTracks(trackCount);
        }
    } catch (const std::exception &failure) {
        logExtractionFailure(exceptionName(failure), QString::fromUtf8(failure.what()));
    } catch (...) {
        logExtractionFailure(QStringLiteral("unknown failure"), QStringLiteral("no reason given"));
    }
    resultList.append(std::move(entry));
}

QString &SearchEngine::replaceSpecialCharacters(QString &text)
{
    return text.replace(u':', u'-');
}

QString &SearchEngine::replaceUnWantedCharactersFromSearchString(QString &text)
{
    return text.remove(u'\'');
}

QString SearchEngine::hostForEngine(const QString &engine) const
{
    return m_config.hosts.value(engine);
}

QString SearchEngine::requestUrlForPage(const QString &keywords, const QString &host, qint32 page) const
{
    QString cleanedKeywords = keywords;
    const QMap<QString, QString> parameters{
        {QStringLiteral("Operation"), QStringLiteral("ItemSearch")},
        {QStringLiteral("SearchIndex"), QStringLiteral("Music")},
        {QStringLiteral("Keywords"), replaceUnWantedCharactersFromSearchString(cleanedKeywords)},
        {QStringLiteral("ItemPage"), QString::number(page)},
        {QStringLiteral("ResponseGroup"), QStringLiteral("Large")},
        {QStringLiteral("Service"), QStringLiteral("AWSECommerceService")},
        {QStringLiteral("Timestamp"), utcTimestamp()},
        {QStringLiteral("AWSAccessKeyId"), m_config.accessKey},
    };
    const QString query = queryStringForParameterDictionary(parameters);
    const QString signature =
        makeSignature(m_config.secretKey, signatureInputForQueryString(query, host).toUtf8());
    return QStringLiteral("http://%1%2?%3&Signature=%4").arg(host, requestPath, query, signature);
}

std::optional<QString> SearchEngine::coverUrlOfItem(const pugi::xml_node &item)
{
    const QList<pugi::xml_node> urls = XmlDocument::nodesForXPath(item, coverUrlPath);
    if (urls.isEmpty())
        return std::nullopt;
    return XmlDocument::stringValue(urls.first());
}

bool SearchEngine::isFetchableCoverUrl(const QString &url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    return parsed.isValid() && !parsed.host().isEmpty()
           && (parsed.scheme() == u"http" || parsed.scheme() == u"https");
}

std::optional<QString> SearchEngine::refusalCodeOf(const XmlDocument &answer)
{
    const QList<pugi::xml_node> topLevel = XmlDocument::nodesForXPath(answer.node(), topLevelErrorPath);
    if (!topLevel.isEmpty())
        return XmlDocument::stringValue(topLevel.first()).trimmed();
    if (!itemsOfResult(&answer).isEmpty())
        return std::nullopt;
    for (const pugi::xml_node &code : XmlDocument::nodesForXPath(answer.node(), requestErrorPath)) {
        const QString text = XmlDocument::stringValue(code).trimmed();
        if (text != noExactMatches)
            return text;
    }
    return std::nullopt;
}

QList<pugi::xml_node> SearchEngine::itemsOfResult(const XmlDocument *result)
{
    if (!result)
        return {};
    // XPath selects every item first; an answer of thousands of items is still small next to
    // the album records they would become.
    QList<pugi::xml_node> items = XmlDocument::nodesForXPath(result->node(), itemsPath);
    if (items.size() > maxItemsPerPage)
        items.resize(maxItemsPerPage);
    return items;
}
