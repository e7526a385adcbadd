// tagwright-cli tag: writes one album, in the JSON form that `search` prints, into MP3 files.
#include "cli/AlbumJson.h"
#include "cli/CliCommand.h"
#include "cli/StatusLinePrinter.h"
#include "cli/Mp3FileCheck.h"
#include "files/FileHandler.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

void printCommandError(const QString &message)
{
    std::fprintf(stderr, "tagwright-cli tag: %s\n", message.toLocal8Bit().constData());
}

struct TagOptions {
    QString albumSource;
    qsizetype index = 0;
    bool indexGiven = false;
    QString coverPath;
    QStringList files;
};

std::optional<TagOptions> parseOptions(const QStringList &args)
{
    TagOptions options;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (optionsEnded || !arg.startsWith(u"--")) {
            options.files.append(arg);
            continue;
        }
        if (arg == u"--") {
            optionsEnded = true;
            continue;
        }
        if (arg != u"--album" && arg != u"--index" && arg != u"--cover") {
            printCommandError(QStringLiteral("unknown option %1").arg(arg));
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            printCommandError(QStringLiteral("%1 needs a value").arg(arg));
            return std::nullopt;
        }
        const QString value = args.at(++i);
        if (arg == u"--album") {
            options.albumSource = value;
        } else if (arg == u"--cover") {
            options.coverPath = value;
        } else {
            bool ok = false;
            options.index = value.toLongLong(&ok);
            options.indexGiven = true;
            if (!ok || options.index < 0) {
                printCommandError(QStringLiteral("--index needs a number of 0 or more, not \"%1\"").arg(value));
                return std::nullopt;
            }
        }
    }
    if (options.albumSource.isEmpty()) {
        printCommandError(QStringLiteral("--album FILE (or - for standard input) is required"));
        return std::nullopt;
    }
    return options;
}

// The album object chosen from the JSON text: the object itself, or element `index` of
// an array of them.
std::optional<ResultEntry> albumFromSource(const TagOptions &options)
{
    const QString &source = options.albumSource;
    QFile file;
    const bool opened = source == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(source), file.open(QIODevice::ReadOnly));
    if (!opened) {
        printCommandError(QStringLiteral("%1: %2").arg(source, QFile::exists(source) ? file.errorString()
                                                                                             : QStringLiteral("no such file")));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        printCommandError(QStringLiteral("%1: malformed JSON at byte %2: %3")
                                       .arg(source).arg(parseError.offset).arg(parseError.errorString()));
        return std::nullopt;
    }
    QJsonValue chosen;
    if (document.isArray()) {
        const QJsonArray albums = document.array();
        if (options.index >= albums.size()) {
            printCommandError(QStringLiteral("%1: holds %2 albums, none at index %3")
                                           .arg(source).arg(albums.size()).arg(options.index));
            return std::nullopt;
        }
        chosen = albums.at(options.index);
    } else if (options.indexGiven && options.index != 0) {
        printCommandError(QStringLiteral("%1: holds a single album, none at index %2").arg(source).arg(options.index));
        return std::nullopt;
    } else {
        chosen = document.object();
    }
    if (!chosen.isObject()) {
        printCommandError(QStringLiteral("%1: the album at index %2 is not a JSON object").arg(source).arg(options.index));
        return std::nullopt;
    }
    QString error;
    std::optional<ResultEntry> album = albumFromJson(chosen.toObject(), &error);
    if (!album)
        printCommandError(QStringLiteral("%1: %2").arg(source, error));
    return album;
}

int runTag(const QStringList &args)
{
    const std::optional<TagOptions> options = parseOptions(args);
    if (!options)
        return 2;
    std::optional<ResultEntry> album = albumFromSource(*options);
    if (!album)
        return 2;
    if (!options->coverPath.isEmpty()) {
        const QImage cover(options->coverPath);
        if (cover.isNull()) {
            printCommandError(QStringLiteral("%1: %2").arg(options->coverPath,
                QFile::exists(options->coverPath) ? QStringLiteral("cannot be read as an image") : QStringLiteral("no such file")));
            return 2;
        }
        album->setCover(cover);
    }
    // Every file is checked before the first one changes, so bad input changes nothing.
    if (options->files.isEmpty()) {
        printCommandError(QStringLiteral("no MP3 files given"));
        return 2;
    }
    if (!Mp3FileCheck::reportProblems(options->files, QStringLiteral("tag")))
        return 2;

    const StatusLinePrinter progress;
    return FileHandler().tagFiles(options->files, album->trackList(), *album).failures.isEmpty() ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("tag"),
    QStringLiteral("tag --album FILE|- [--index N] [--cover IMAGE] FILE..."),
    QStringLiteral("Writes one album into the MP3 files: the album in the JSON form that `search` prints,\n"
                   "read from FILE or standard input (-), the object itself or element N of an array\n"
                   "(default 0). The files take the album's tracks in the order given; files beyond the\n"
                   "track list take their own names as titles. --cover IMAGE sets the front cover.\n"
                   "Nothing is changed when the album cannot be read or any file is missing or not an\n"
                   "MP3 file; a file with a damaged ID3v2 tag is named and left as it is."),
    runTag,
});

} // namespace
