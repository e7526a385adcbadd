#include "files/RenamingMask.h"

#include "files/SongMetadata.h"
#include "search/IntValue.h"

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
    QString result = mask;
    if (result.isEmpty() || metadata.isEmpty())
        return result;

    const auto text = [&](const QString &key) {
        const QString value = metadata.value(key).toString();
        return values == Values::FileNameSafe ? fileNameSafe(value) : value;
    };
    // The order matters: a value inserted by an earlier step may hold a later placeholder,
    // which the later step then fills in.
    result.replace(QStringLiteral("%a"), text(QVArtistAlbumTag));
    result.replace(QStringLiteral("%b"), text(QVAlbumTag));
    result.replace(QStringLiteral("%t"), text(QVTitleTag));
    result.replace(QStringLiteral("%n"),
                   QString::asprintf("%.2d", intValue(metadata.value(QVTrackNoTag).toString())));
    result.replace(QStringLiteral("%y"), text(QVYearTag));
    result.replace(QStringLiteral("%r"), text(QVArtistTrackTag));
    return result;
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
