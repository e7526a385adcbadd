#include "search/musicbrainz/MusicBrainzId.h"

#include <QRegularExpression>

namespace {

const QString uuid = QStringLiteral("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");

} // namespace

bool MusicBrainzId::isReleaseId(const QString &text)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(uuid),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(text).hasMatch();
}

std::optional<QString> MusicBrainzId::releaseIdFrom(const QString &text)
{
    static const QRegularExpression address(
        QRegularExpression::anchoredPattern(
            QStringLiteral(R"((?:https?://)?(?:[a-z0-9-]+\.)*musicbrainz\.org/release/(%1)(?:[/?#].*)?)").arg(uuid)),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QString trimmed = text.trimmed();
    if (isReleaseId(trimmed))
        return trimmed.toLower();
    const QRegularExpressionMatch match = address.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLower();
}

QString MusicBrainzId::notAReleaseId(const QString &text)
{
    return QStringLiteral("not a MusicBrainz release id: \"%1\"").arg(text);
}
