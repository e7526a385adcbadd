#include "files/MetadataKeys.h"

#include "files/CatalogueIds.h"

namespace MetadataKeys {

QVariantMap toMap(const std::optional<TagValues> &values)
{
    QVariantMap map;
    if (!values)
        return map;
    const auto number = [](qint32 value) { return value > 0 ? QString::number(value) : QStringLiteral(""); };
    map.insert(trackArtist, values->trackArtist.value_or(QStringLiteral("")));
    map.insert(albumArtist, values->albumArtist);
    map.insert(album, values->album);
    map.insert(title, values->title);
    map.insert(year, number(values->year));
    map.insert(trackNumber, number(values->trackNumber));
    map.insert(trackCount, number(values->trackCount));
    map.insert(discNumber, number(values->discNumber));
    map.insert(discCount, number(values->discCount));
    map.insert(genre, values->genres.value(0, QStringLiteral("")));
    map.insert(label, QStringLiteral(""));
    for (const CatalogueIdField &field : catalogueIdFields) {
        if (!values->id(field.id).isEmpty())
            map.insert(QString::fromLatin1(field.key), values->id(field.id));
    }
    if (values->cover)
        map.insert(cover, *values->cover);
    return map;
}

} // namespace MetadataKeys
