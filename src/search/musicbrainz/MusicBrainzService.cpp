#include "search/musicbrainz/MusicBrainzService.h"

#include <QUrl>

namespace {

// Where the service's operators can reach whoever runs this client.
constexpr const char *contact = "https://tagwright.invalid/contact";

// An identifier typed by a user stays one path segment, whatever it holds.
QString pathSegment(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

QString MusicBrainzService::code()
{
    return QStringLiteral("musicbrainz");
}

QString MusicBrainzService::name()
{
    return QStringLiteral("MusicBrainz");
}

QByteArray MusicBrainzService::userAgent()
{
    return QByteArrayLiteral("Tagwright/" TAGWRIGHT_VERSION " ( ") + contact + QByteArrayLiteral(" )");
}

QString MusicBrainzService::luceneEscaped(const QString &text)
{
    // "&&" and "||" are escaped one character at a time, which reads the same.
    static const QString special = QStringLiteral("+-&|!(){}[]^\"~*?:\\/");
    QString escaped;
    escaped.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (special.contains(c))
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QString MusicBrainzService::searchUrl(const QString &base, const QString &keywords)
{
    return queryUrl(base, luceneEscaped(keywords));
}

QString MusicBrainzService::queryUrl(const QString &base, const QString &query)
{
    // One arg() call: the encoded query holds "%" signs that a later arg() would fill in.
    return QStringLiteral("%1/ws/2/release/?query=%2&limit=%3")
        .arg(base, QString::fromLatin1(QUrl::toPercentEncoding(query)), QString::number(searchLimit));
}

QString MusicBrainzService::lookupUrl(const QString &base, const QString &releaseId)
{
    return QStringLiteral("%1/ws/2/release/%2?inc=artist-credits+labels+recordings+release-groups+genres")
        .arg(base, pathSegment(releaseId));
}

QString MusicBrainzService::coverUrl(const QString &base, const QString &releaseId)
{
    return QStringLiteral("%1/release/%2/front-500").arg(base, pathSegment(releaseId));
}
