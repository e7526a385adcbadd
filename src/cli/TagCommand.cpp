// tagwright-cli tag: writes one album, in the JSON form that `search` prints, into MP3 files.
#include "cli/AlbumJson.h"
#include "cli/CliCommand.h"
#include "cli/CoverDownload.h"
#include "cli/StatusLinePrinter.h"
#include "cli/Mp3FileCheck.h"
#include "common/JobControl.h"
#include "session/Session.h"

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

// The options' values; --index is checked here as the parser takes any text.
std::optional<TagOptions> tagOptions(const QCommandLineParser &parsed)
{
    TagOptions options;
    options.albumSource = parsed.value(QStringLiteral("album"));
    options.coverPath = parsed.value(QStringLiteral("cover"));
    options.files = parsed.positionalArguments();
    options.indexGiven = parsed.isSet(QStringLiteral("index"));
    if (options.indexGiven) {
        const QString value = parsed.value(QStringLiteral("index"));
        bool ok = false;
        options.index = value.toLongLong(&ok);
        if (!ok || options.index < 0) {
            printCommandError(QStringLiteral("--index needs a number of 0 or more, not \"%1\"").arg(value));
            return std::nullopt;
        }
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

int runTag(const QCommandLineParser &parsed)
{
    const std::optional<TagOptions> options = tagOptions(parsed);
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
    } else if (album->coverUrl()) {
        // An album that names its cover gets it, as it would have in the window.
        const CoverDownload download = CoverDownload::fetch(*album->coverUrl());
        if (!download.image) {
            printCommandError(QStringLiteral("the cover at %1 could not be had: %2; give --cover IMAGE or set "
                                             "\"coverUrl\" to null").arg(*album->coverUrl(), download.failure));
            return 2;
        }
        album->setCover(download.image);
    }
    // Every file is checked before the first one changes, so bad input changes nothing.
    if (!Mp3FileCheck::reportProblems(options->files, QStringLiteral("tag")))
        return 2;

    const StatusLinePrinter progress;
    // The files take the album's own tracks, in the order given.
    Session session;
    session.setFiles(options->files);
    auto chosen = std::make_shared<ResultEntry>(*album);
    session.setAlbums(std::make_shared<ResultList>(ResultList{chosen}));
    session.showAlbum(chosen);
    JobControl control;
    return session.tagging(*chosen)(control).failures.isEmpty() ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("tag"),
    QStringLiteral("Writes one album into the MP3 files: the album in the JSON form that `search` prints,\n"
                   "read from FILE or standard input (-), the object itself or element N of an array\n"
                   "(default 0). The files take the album's tracks in the order given; files beyond the\n"
                   "track list take their own names as titles. --cover IMAGE sets the front cover;\n"
                   "without it, the picture at the album's \"coverUrl\" is fetched, if it names one.\n"
                   "Nothing is changed when the album cannot be read or any file is missing or not an\n"
                   "MP3 file; a file with a damaged ID3v2 tag is named and left as it is."),
    {{QStringLiteral("album"), QStringLiteral("FILE|-"), QStringLiteral("the album's JSON file, or - for standard input"), true},
     {QStringLiteral("index"), QStringLiteral("N"), QStringLiteral("the album's position in a JSON array (default 0)")},
     {QStringLiteral("cover"), QStringLiteral("IMAGE"), QStringLiteral("a picture file to set as the front cover")}},
    QStringLiteral("FILE..."),
    QStringLiteral("no MP3 files given"),
    runTag,
});

} // namespace
