#include "files/RenamingMask.h"

#include "files/SongMetadata.h"
#include "search/IntValue.h"

#include <QHash>

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

// The song metadata key a placeholder's letter stands for; empty for any other letter.
QString keyOfPlaceholder(QChar letter)
{
    switch (letter.unicode()) {
    case u'd': return QVDiscNoTag;
    case u'a': return QVArtistAlbumTag;
    case u'b': return QVAlbumTag;
    case u't': return QVTitleTag;
    case u'n': return QVTrackNoTag;
    case u'y': return QVYearTag;
    case u'r': return QVArtistTrackTag;
    default: return {};
    }
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
    // Each key's value once, however often its placeholder comes.
    QHash<QString, QString> asked;
    const auto valueFor = [&](const QString &key) -> const QString & {
        auto found = asked.find(key);
        if (found == asked.end()) {
            const QString value = valueOf(key);
            found = asked.insert(key, key == QVTrackNoTag ? QString::asprintf("%.2d", intValue(value))
                                      : values == Values::FileNameSafe ? fileNameSafe(value) : value);
        }
        return *found;
    };
    // One pass over the mask alone: a value is copied as it is, so a "%y" inside a title
    // stays text and never takes the year.
    QString result;
    result.reserve(mask.size());
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QString key = i + 1 < mask.size() && mask[i] == u'%' ? keyOfPlaceholder(mask[i + 1]) : QString();
        if (key.isEmpty()) {
            result += mask[i];
        } else {
            result += valueFor(key);
            ++i;
        }
    }
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
