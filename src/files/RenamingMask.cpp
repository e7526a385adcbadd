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

} // namespace

QString RenamingMask::substitute(const QString &mask, const std::optional<TagValues> &tags, Values values)
{
    if (!tags)
        return mask;
    QString result = mask;
    const auto step = [&](QLatin1StringView placeholder, const QString &value) {
        result.replace(placeholder, values == Values::FileNameSafe ? fileNameSafe(value) : value);
    };
    const auto number = [](qint32 value) { return value > 0 ? QString::number(value) : QString(); };
    // The order matters: a value inserted by an earlier step may hold a later placeholder,
    // which the later step then fills in. The disc comes first, so that no tag value ever
    // turns into it ("100%dance" stays as it is); its own value is only digits.
    step(QLatin1StringView("%d"), number(tags->discNumber));
    step(QLatin1StringView("%a"), tags->albumArtist);
    step(QLatin1StringView("%b"), tags->album);
    step(QLatin1StringView("%t"), tags->title);
    result.replace(QLatin1StringView("%n"), QString::asprintf("%.2d", qMax(tags->trackNumber, 0)));
    step(QLatin1StringView("%y"), number(tags->year));
    step(QLatin1StringView("%r"), tags->trackArtist.value_or(QString()));
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
