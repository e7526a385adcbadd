#include "files/RenamingMask.h"

#include "files/SongMetadata.h"
#include "album/IntValue.h"

namespace {

// A tag value as it may appear in a file name: "/" would open a folder, so it becomes ":",
// and a NUL would cut the name short where the system takes it, so it is dropped. Only the
// mask itself decides folders.
QString fileNameSafe(QString value)
{
    value.replace(u'/', u':');
    value.remove(QChar(u'\0'));
    return value;
}

} // namespace

QString RenamingMask::substitute(const QString &mask, const QVariantMap &metadata, Values values)
{
    if (metadata.isEmpty())
        return mask;
    return substituteOnDemand(mask, [&metadata](const QString &key) { return metadata.value(key).toString(); }, values);
}

QString RenamingMask::substituteOnDemand(const QString &mask, const ValueSource &valueOf, Values values)
{
    QString result = mask;
    const auto step = [&](QLatin1StringView placeholder, const QString &key) {
        if (!result.contains(placeholder))
            return;
        const QString value = valueOf(key);
        if (key == QVTrackNoTag)
            result.replace(placeholder, QString::asprintf("%.2d", intValue(value)));
        else
            result.replace(placeholder, values == Values::FileNameSafe ? fileNameSafe(value) : value);
    };
    // The order matters: a value inserted by an earlier step may hold a later placeholder,
    // which the later step then fills in. The disc comes first, so that no tag value ever
    // turns into it ("100%dance" stays as it is); its own value is only digits.
    step(QLatin1StringView("%d"), QVDiscNoTag);
    step(QLatin1StringView("%a"), QVArtistAlbumTag);
    step(QLatin1StringView("%b"), QVAlbumTag);
    step(QLatin1StringView("%t"), QVTitleTag);
    step(QLatin1StringView("%n"), QVTrackNoTag);
    step(QLatin1StringView("%y"), QVYearTag);
    step(QLatin1StringView("%r"), QVArtistTrackTag);
    return result;
}

QString RenamingMask::withoutEmptyFolders(const QString &name)
{
    QStringList components = name.split(u'/');
    const QString last = components.takeLast();
    components.removeAll(QString());
    components.append(last);
    return components.join(u'/');
}

std::optional<QString> RenamingMask::problemWithName(const QString &name)
{
    const QStringList components = name.split(u'/');
    if (components.last().isEmpty())
        return QStringLiteral("the mask gives an empty name");
    for (const QString &component : components) {
        if (component == u"." || component == u"..")
            return QStringLiteral("the mask gives \"%1\" as a folder or name").arg(component);
    }
    return std::nullopt;
}
