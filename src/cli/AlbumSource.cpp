#include "cli/AlbumSource.h"

#include "cli/AlbumJson.h"
#include "search/TextBounds.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace AlbumSource {

std::optional<ResultEntry> read(const QCommandLineParser &parsed, const QString &command)
{
    const auto fail = [&command](const QString &message) -> std::optional<ResultEntry> {
        std::fprintf(stderr, "tagwright-cli %s: %s\n", command.toLocal8Bit().constData(), message.toLocal8Bit().constData());
        return std::nullopt;
    };
    // --index is checked here as the parser takes any text.
    qsizetype index = 0;
    const bool indexGiven = parsed.isSet(indexOption.name);
    if (indexGiven) {
        const QString value = parsed.value(indexOption.name);
        bool ok = false;
        index = value.toLongLong(&ok);
        if (!ok || index < 0)
            return fail(QStringLiteral("--index needs a number of 0 or more, not \"%1\"").arg(value));
    }
    const QString source = parsed.value(albumOption.name);
    QFile file;
    const bool opened = source == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(source), file.open(QIODevice::ReadOnly));
    if (!opened)
        return fail(QStringLiteral("%1: %2").arg(source, QFile::exists(source) ? file.errorString()
                                                                              : QStringLiteral("no such file")));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(QStringLiteral("%1: malformed JSON at byte %2: %3")
                        .arg(source).arg(parseError.offset).arg(parseError.errorString()));
    QJsonValue chosen;
    if (document.isArray()) {
        const QJsonArray albums = document.array();
        if (index >= albums.size())
            return fail(QStringLiteral("%1: holds %2 albums, none at index %3").arg(source).arg(albums.size()).arg(index));
        chosen = albums.at(index);
    } else if (indexGiven && index != 0) {
        return fail(QStringLiteral("%1: holds a single album, none at index %2").arg(source).arg(index));
    } else {
        chosen = document.object();
    }
    if (!chosen.isObject())
        return fail(QStringLiteral("%1: the album at index %2 is not a JSON object").arg(source).arg(index));
    QString error;
    std::optional<ResultEntry> album = albumFromJson(chosen.toObject(), &error);
    if (!album)
        return fail(QStringLiteral("%1: %2").arg(source, error));
    TextBounds bounds;
    bounds.bound(*album);
    if (bounds.cut())
        std::fprintf(stderr, "tagwright-cli %s: %s: texts longer than %d characters were cut there\n",
                     command.toLocal8Bit().constData(), source.toLocal8Bit().constData(), int(TextBounds::maxLength));
    return album;
}

} // namespace AlbumSource
