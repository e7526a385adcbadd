// tagwright-cli tag: writes one album, in the JSON form that `search` prints, into audio files (MP3, FLAC, Ogg Vorbis, Opus, MP4).
#include "cli/AlbumSource.h"
#include "cli/CliCommand.h"
#include "cli/CoverDownload.h"
#include "cli/StatusLinePrinter.h"
#include "cli/AudioFileCheck.h"
#include "common/JobControl.h"
#include "lineup/Lineup.h"
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

// Tagging pairs file row i with track row i; after a line-up that holds only while no
// track before the last of those rows went without a file. Says so when it does not.
bool pairsRightly(const Lineup &lineup, const ResultEntry &album)
{
    if (lineup.pairsByRow())
        return true;
    const qsizetype freeTrack = lineup.fileOfTrack.indexOf(-1);
    printCommandError(QStringLiteral("--match paired no file with track %1 (\"%2\"), and files take tracks in "
                                     "their order, so a file would take a track it does not match; nothing was "
                                     "written. `tagwright-cli lineup` shows the pairing.")
                          .arg(freeTrack + 1).arg(album.trackList()->at(freeTrack)->title().value_or(QString())));
    return false;
}

int runTag(const QCommandLineParser &parsed)
{
    std::optional<ResultEntry> album = AlbumSource::read(parsed, QStringLiteral("tag"));
    if (!album)
        return 2;
    const QString coverPath = parsed.value(QStringLiteral("cover"));
    if (!coverPath.isEmpty()) {
        const QImage cover(coverPath);
        if (cover.isNull()) {
            printCommandError(QStringLiteral("%1: %2").arg(coverPath,
                QFile::exists(coverPath) ? QStringLiteral("cannot be read as an image") : QStringLiteral("no such file")));
            return 2;
        }
        album->setCover(cover);
    }
    // Every file is checked before the first one changes, so bad input changes nothing.
    const QStringList files = parsed.positionalArguments();
    if (!AudioFileCheck::reportProblems(files, QStringLiteral("tag")))
        return 2;
    if (coverPath.isEmpty() && album->coverUrl()) {
        // An album that names its cover gets it, as it would have in the window.
        const CoverDownload download = CoverDownload::fetch(*album->coverUrl());
        if (!download.image) {
            printCommandError(QStringLiteral("the cover at %1 could not be had: %2; give --cover IMAGE or set "
                                             "\"coverUrl\" to null").arg(*album->coverUrl(), download.failure));
            return 2;
        }
        album->setCover(download.image);
    }

    const StatusLinePrinter progress;
    // The files take the album's own tracks, in the order given or lined up.
    Session session;
    auto chosen = std::make_shared<ResultEntry>(*album);
    session.listOnly(chosen, files);
    JobControl control;
    if (parsed.isSet(QStringLiteral("match"))) {
        const Lineup lineup = session.lineUp(*chosen)(control);
        std::fprintf(stderr, "%s\n", StatusText::linedUp(lineup.matched, files.size()).toLocal8Bit().constData());
        if (!pairsRightly(lineup, *chosen))
            return 1;
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
                   "`lineup` prints it); files beyond the track list take their own names as titles.\n"
                   "--cover IMAGE sets the front cover; without it, the picture at the album's\n"
                   "\"coverUrl\" is fetched, if it names one.\n"
                   "Nothing is changed when the album cannot be read or any file is missing or not an\n"
                   "audio file Tagwright tags; a file with a damaged ID3v2 tag is named and left as it is."),
    {AlbumSource::albumOption, AlbumSource::indexOption,
     {QStringLiteral("cover"), QStringLiteral("IMAGE"), QStringLiteral("a picture file to set as the front cover")},
     {QStringLiteral("match"), {}, QStringLiteral("line the files up with the album's tracks first")}},
    QStringLiteral("FILE..."),
    QStringLiteral("no audio files given"),
    runTag,
});

} // namespace
