#include "files/RenamingMask.h"


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

// The value a placeholder's letter stands for, as the file has it ("" when it lacks it);
// nothing for any other letter. Numbers that are unset are empty.
std::optional<QString> placeholderValue(QChar letter, const TagValues &tags)
{
    const auto number = [](qint32 value) { return value > 0 ? QString::number(value) : QString(); };
    switch (letter.unicode()) {
    case u'd': return number(tags.discNumber);
    case u'a': return tags.albumArtist;
    case u'b': return tags.album;
    case u't': return tags.title;
    case u'n': return number(tags.trackNumber);
    case u'y': return number(tags.year);
    case u'r': return tags.trackArtist.value_or(QString());
    default: return std::nullopt;
    }
}

} // namespace

std::optional<QString> RenamingMask::substitute(const QString &mask, const std::optional<TagValues> &tags, Values values)
{
    if (!tags)
        return std::nullopt;
    // One pass over the mask alone: a value is copied as it is, so a "%y" inside a title
    // stays text and never takes the year.
    QString result;
    result.reserve(mask.size());
    bool asked = false, answered = false;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const std::optional<QString> value = mask[i] == u'%' && i + 1 < mask.size()
                                                 ? placeholderValue(mask[i + 1], *tags) : std::nullopt;
        if (!value) {
            result += mask[i];
            continue;
        }
        asked = true;
        answered |= !value->isEmpty();
        // Track numbers take two digits at least; a missing one gives 00.
        if (mask[i + 1] == u'n')
            result += QString::asprintf("%.2d", qMax(tags->trackNumber, 0));
        else
            result += values == Values::FileNameSafe ? fileNameSafe(*value) : *value;
        ++i;
    }
    if (asked && !answered)
        return std::nullopt;
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
