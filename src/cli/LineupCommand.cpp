// tagwright-cli lineup: prints how audio files pair with an album's tracks, writing nothing.
#include "cli/AlbumSource.h"
#include "cli/CliCommand.h"
#include "cli/AudioFileCheck.h"
#include "common/JobControl.h"
#include "session/Session.h"
#include "session/StatusText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

QJsonValue orNull(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

int runLineup(const QCommandLineParser &parsed)
{
    std::optional<ResultEntry> album = AlbumSource::read(parsed, QStringLiteral("lineup"));
    if (!album)
        return 2;
    const QStringList files = parsed.positionalArguments();
    if (!AudioFileCheck::reportProblems(files, QStringLiteral("lineup")))
        return 2;

    // The album's own tracks are the ones on show, as `tag` shows them.
    Session session;
    auto chosen = std::make_shared<ResultEntry>(*album);
    session.listOnly(chosen, files);
    JobControl control;
    const Lineup lineup = session.lineUp(*chosen)(control);
    const TrackList tracks = chosen->trackList() ? *chosen->trackList() : TrackList();
    QJsonArray pairs;
    for (qsizetype row = 0; row < tracks.size(); ++row) {
        const Track &track = *tracks.at(row);
        const int file = lineup.fileOfTrack.at(row);
        pairs.append(QJsonObject{
            {QStringLiteral("track"), int(row)},
            {QStringLiteral("disc"), track.discNumber().value_or(1)},
            {QStringLiteral("number"), track.numberOnDisc().value_or(int(row) + 1)},
            {QStringLiteral("title"), orNull(track.title())},
            {QStringLiteral("file"), file >= 0 ? QJsonValue(files.at(file)) : QJsonValue(QJsonValue::Null)},
        });
    }
    const QJsonObject result{{QStringLiteral("tracks"), pairs},
                             {QStringLiteral("unmatched"), QJsonArray::fromStringList(lineup.order.mid(lineup.matched))}};
    QTextStream(stderr) << StatusText::linedUp(lineup.matched, files.size()) << "\n";
    QTextStream(stdout) << QJsonDocument(result).toJson(QJsonDocument::Indented);
    return 0;
}

const CliCommandRegistration registration({
    QStringLiteral("lineup"),
    QStringLiteral("Pairs audio files with the tracks of one album (read as `tag` reads it) by their tags,\n"
                   "the numbers and titles in their names and their lengths, and prints the pairing as\n"
                   "JSON without writing: {\"tracks\": [{\"track\", \"disc\", \"number\", \"title\", \"file\"}],\n"
                   "\"unmatched\": [FILE...]}, \"track\" counting from 0 and \"file\" null for a track no file\n"
                   "matches. `tag --match` tags the files in this pairing."),
    {AlbumSource::albumOption, AlbumSource::indexOption},
    QStringLiteral("FILE..."),
    QStringLiteral("no audio files given"),
    runLineup,
});

} // namespace
