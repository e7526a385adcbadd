#include "search/musicbrainz/ReleaseEditionReader.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace {

// The trimmed text of an element that holds only text; nothing when it is missing or empty
// (the service writes <barcode/> for a release known to have none).
std::optional<QString> leafText(const pugi::xml_node &element)
{
    const QString text = QString::fromUtf8(element.child_value()).trimmed();
    return text.isEmpty() ? std::nullopt : std::optional(text);
}

} // namespace

void ReleaseEditionReader::readInto(ResultEntry &album, const pugi::xml_node &release)
{
    album.setCountry(leafText(release.child("country")));
    album.setReleaseDate(leafText(release.child("date")));
    album.setFormat(formatOf(release));
    album.setBarcode(leafText(release.child("barcode")));
    std::optional<QString> catalogNumber;
    for (const pugi::xml_node &info : release.child("label-info-list").children("label-info")) {
        if ((catalogNumber = leafText(info.child("catalog-number"))))
            break;
    }
    album.setCatalogNumber(catalogNumber);
    album.setReleaseType(releaseTypeOf(release));
}

std::optional<QString> ReleaseEditionReader::formatOf(const pugi::xml_node &release)
{
    QList<std::pair<QString, int>> counts;
    for (const pugi::xml_node &medium : release.child("medium-list").children("medium")) {
        const std::optional<QString> format = leafText(medium.child("format"));
        if (!format)
            continue;
        const auto known = std::find_if(counts.begin(), counts.end(), [&](const auto &count) { return count.first == *format; });
        if (known != counts.end())
            ++known->second;
        else
            counts.append({*format, 1});
    }
    if (counts.isEmpty())
        return std::nullopt;
    QStringList parts;
    for (const auto &[format, count] : std::as_const(counts))
        parts.append(count > 1 ? QStringLiteral("%1\u00d7%2").arg(count).arg(format) : format);
    return parts.join(QStringLiteral(" + "));
}

std::optional<QString> ReleaseEditionReader::releaseTypeOf(const pugi::xml_node &release)
{
    const pugi::xml_node group = release.child("release-group");
    QStringList notable;
    for (const pugi::xml_node &secondary : group.child("secondary-type-list").children("secondary-type")) {
        const std::optional<QString> type = leafText(secondary);
        if (type && (*type == u"Compilation" || *type == u"Live") && !notable.contains(*type))
            notable.append(*type);
    }
    if (!notable.isEmpty())
        return notable.join(QStringLiteral(", "));
    if (const std::optional<QString> primary = leafText(group.child("primary-type")))
        return primary;
    const QString type = QString::fromUtf8(group.attribute("type").value()).trimmed();
    return type.isEmpty() ? std::nullopt : std::optional(type);
}
