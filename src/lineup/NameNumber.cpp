#include "lineup/NameNumber.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

// A number in front (after an optional "Track"), with a disc before it as in "1-03"; the
// number stands alone or is followed by a separator, so "3am" is a title, not track 3.
// Three digits at most, so "1999 - Title" is not a track number either.
const QRegularExpression &leadingNumber()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(?:(?:track|trk)\s*[._-]?\s*)?(?:(\d{1,2})[-.])?(\d{1,3})(?:$|[\s._)-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

std::optional<int> discOfFolder(const QString &folderName)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(?:cd|dis[ck])[\s._-]*(\d{1,2})(?!\d))"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(folderName);
    return match.hasMatch() ? std::optional<int>(match.captured(1).toInt()) : std::nullopt;
}

} // namespace

NameNumber NameNumber::fromPath(const QString &path)
{
    const QFileInfo info(path);
    NameNumber result;
    result.title = info.completeBaseName();
    result.disc = discOfFolder(info.dir().dirName());

    // "Artist - Album - 03 - Title": the first part may start with the number; a later part
    // counts only when it is the number alone, so "50 Cent" in second place is no track 50.
    static const QRegularExpression partSeparator(QStringLiteral(R"(\s+-\s+)"));
    QStringList parts = result.title.split(partSeparator);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QRegularExpressionMatch match = leadingNumber().match(parts[i]);
        if (!match.hasMatch() || (i > 0 && match.capturedEnd() < parts[i].size()))
            continue;
        if (match.hasCaptured(1))
            result.disc = match.captured(1).toInt();
        result.number = match.captured(2).toInt();
        parts[i].remove(0, match.capturedEnd());
        if (parts[i].isEmpty())
            parts.removeAt(i);
        result.title = parts.join(QStringLiteral(" - "));
        return result;
    }
    static const QRegularExpression bracketedNumber(QStringLiteral(R"(\s*\((\d{1,3})\)\s*$)"));
    if (const QRegularExpressionMatch match = bracketedNumber.match(result.title); match.hasMatch())
        result.bracketed = match.captured(1).toInt();
    return result;
}
