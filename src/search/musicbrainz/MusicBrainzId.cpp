#include "search/musicbrainz/MusicBrainzId.h"

#include <QRegularExpression>
#include <QUrl>

bool MusicBrainzId::isReleaseId(const QString &text)
{
    static const QRegularExpression uuid(QStringLiteral("^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return uuid.match(text).hasMatch();
}

std::optional<QString> MusicBrainzId::releaseIdFrom(const QString &keywords)
{
    const QString text = keywords.trimmed();
    if (isReleaseId(text))
        return text.toLower();
    const QUrl address(text, QUrl::StrictMode);
    const QString host = address.host();
    if (!address.isValid() || (address.scheme() != u"https" && address.scheme() != u"http")
        || (host != u"musicbrainz.org" && !host.endsWith(u".musicbrainz.org")))
        return std::nullopt;
    const QStringList path = address.path().split(u'/', Qt::SkipEmptyParts);
    if (path.size() < 2 || path[0] != u"release" || !isReleaseId(path[1]))
        return std::nullopt;
    return path[1].toLower();
}
