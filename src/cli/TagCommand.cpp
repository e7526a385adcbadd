// tagwright-cli tag: writes one album, in the JSON form that `search` prints, into audio files (MP3, FLAC, Ogg Vorbis, Opus, MP4).
#include "cli/AlbumSource.h"
#include "cli/AutoTag.h"
#include "cli/CliCommand.h"
#include "cli/CoverDownload.h"
#include "cli/StatusLinePrinter.h"
#include "cli/AudioFileCheck.h"
#include "common/JobControl.h"
#include "lineup/Lineup.h"
#include "search/FetchResult.h"
#include "search/PictureEnd.h"
#include "search/storefront/SearchEngine.h"
#include "session/Session.h"
#include "session/StatusText.h"

#include <QFile>
#include <QImage>

#include <cstdio>

namespace {

void printCommandError(const QString &message)
{
    std::fprintf(stderr, "tagwright-cli tag: %s\n", message.toLocal8Bit().constData());
}

// The picture of an explicit --cover file, whole; nothing (after saying why) otherwise.
std::optional<QImage> readCoverFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printCommandError(QStringLiteral("%1: %2").arg(path, file.exists() ? file.errorString() : QStringLiteral("no such file")));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (pictureEndsEarly(bytes)) {
        printCommandError(QStringLiteral("%1: the picture is damaged (it ends early); nothing was written").arg(path));
        return std::nullopt;
    }
    const QImage cover = QImage::fromData(bytes);
    if (cover.isNull()) {
        printCommandError(QStringLiteral("%1: cannot be read as an image").arg(path));
        return std::nullopt;
    }
    return cover;
}

// --auto finds the album itself and takes no album, cover or order of files.
int runTag(const QCommandLineParser &parsed)
{
    const QStringList albumOptions{AlbumSource::albumOption.name, AlbumSource::indexOption.name,
                                   QStringLiteral("cover"), QStringLiteral("match")};
    if (parsed.isSet(QStringLiteral("auto"))) {
        for (const QString &option : albumOptions) {
            if (parsed.isSet(option)) {
                printCommandError(QStringLiteral("--%1 cannot go with --auto; see tagwright-cli tag --help").arg(option));
                return 2;
            }
        }
        return AutoTag::run(parsed);
    }
    for (const QString &option : {QStringLiteral("min-score"), QStringLiteral("skip-tagged")}) {
        if (parsed.isSet(option)) {
            printCommandError(QStringLiteral("--%1 goes only with --auto; see tagwright-cli tag --help").arg(option));
            return 2;
        }
    }
    if (!parsed.isSet(AlbumSource::albumOption.name)) {
        printCommandError(QStringLiteral("--album FILE|- is required (or --auto); see tagwright-cli tag --help"));
        return 2;
    }
    std::optional<ResultEntry> album = AlbumSource::read(parsed, QStringLiteral("tag"));
    if (!album)
        return 2;
    // An empty coverUrl names no cover; any other must be one that can be fetched.
    if (album->coverUrl() && album->coverUrl()->isEmpty())
        album->setCoverUrl(std::nullopt);
    if (album->coverUrl() && !SearchEngine::isFetchableCoverUrl(*album->coverUrl())) {
        printCommandError(QStringLiteral("%1: the album file's coverUrl is not an http or https address: %2")
                              .arg(parsed.value(AlbumSource::albumOption.name), shownUrl(*album->coverUrl())));
        return 2;
    }
    const QString coverPath = parsed.value(QStringLiteral("cover"));
    if (!coverPath.isEmpty()) {
        const std::optional<QImage> cover = readCoverFile(coverPath);
        if (!cover)
            return 2;
        album->setCover(cover);
    }
    // Every file is checked before the first one changes, so bad input changes nothing.
    const QStringList files = parsed.positionalArguments();
    if (!AudioFileCheck::reportProblems(files, QStringLiteral("tag")))
        return 2;
    if (coverPath.isEmpty() && album->coverUrl()) {
        // An album that names its cover gets it, as it would have in the window.
        const CoverDownload download = CoverDownload::fetch(*album->coverUrl());
        if (download.damaged) {
            // The tags are still worth writing; the note says the cover is missing.
            printCommandError(download.failure);
        } else if (!download.image) {
            printCommandError(QStringLiteral("the cover at %1 could not be had: %2; give --cover IMAGE or set "
                                             "\"coverUrl\" to null").arg(shownUrl(*album->coverUrl()), download.failure));
            return 2;
        }
        album->setCover(download.image);
    }

    // The files take the album's own tracks, in the order given or as lined up: each file the
    // track it pairs with, and a track that pairs with no file goes unwritten.
    Session session;
    const StatusLinePrinter progress(session);
    auto chosen = std::make_shared<ResultEntry>(*album);
    session.listOnly(chosen, files);
    JobControl control({}, session.statusSink());
    if (parsed.isSet(QStringLiteral("match"))) {
        const Lineup lineup = session.lineUp(*chosen)(control);
        std::fprintf(stderr, "%s\n", StatusText::linedUp(lineup.matched, files.size()).toLocal8Bit().constData());
        session.takeLineup(lineup);
    }
    return session.tagging(*chosen)(control).failures.isEmpty() ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("tag"),
    QStringLiteral("Writes one album into the audio files: the album in the JSON form that `search` prints,\n"
                   "read from FILE or standard input (-), the object itself or element N of an array\n"
                   "(default 0). The files take the album's tracks in the order given, or with --match\n"
                   "in the order that pairs them with the tracks by their tags, names and lengths (as\n"
                   "`lineup` prints it, tracks that pair with no file left unwritten); files beyond the\n"
                   "track list take their own names as titles.\n"
                   "--cover IMAGE sets the front cover; without it, the picture at the album's\n"
                   "\"coverUrl\" is fetched, if it names one.\n"
                   "Nothing is changed when the album cannot be read or any file is missing or not an\n"
                   "audio file Tagwright tags; a file with a damaged ID3v2 tag is named and left as it is.\n"
                   "With --auto, the files and folders (PATH...) are identified as `identify` does, and\n"
                   "each album whose best release scores at least --min-score (default 0.8) is tagged in\n"
                   "that release's pairing, with its cover (files that pair with no track are named and\n"
                   "left as they are); the others are listed on standard error with\n"
                   "their best candidates and left untouched, and the exit status is then 1. Ctrl+C stops\n"
                   "between albums; --skip-tagged passes over albums whose files carry a MusicBrainz album\n"
                   "id, so a run over a whole library can be started again where it stopped."),
    {{AlbumSource::albumOption.name, AlbumSource::albumOption.valueName,
      AlbumSource::albumOption.description + QStringLiteral(" (required without --auto)")},
     AlbumSource::indexOption,
     {QStringLiteral("cover"), QStringLiteral("IMAGE"), QStringLiteral("a picture file to set as the front cover")},
     {QStringLiteral("match"), {}, QStringLiteral("line the files up with the album's tracks first")},
     {QStringLiteral("auto"), {}, QStringLiteral("find each album on MusicBrainz and tag the confident ones")},
     {QStringLiteral("min-score"), QStringLiteral("SCORE"), QStringLiteral("with --auto: the least score tagged (0 to 1, default 0.8)")},
     {QStringLiteral("skip-tagged"), {}, QStringLiteral("with --auto: pass over albums already carrying a MusicBrainz album id")}},
    QStringLiteral("FILE..."),
    QStringLiteral("no audio files given"),
    runTag,
});

} // namespace
