// tagwright-cli album: looks releases up by their MusicBrainz identifier and prints them as JSON.
#include "cli/AlbumJson.h"
#include "cli/CliCommand.h"
#include "cli/StatusLinePrinter.h"
#include "common/JobControl.h"
#include "search/ServiceConfig.h"
#include "search/musicbrainz/MusicBrainzService.h"
#include "session/Session.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

int runAlbum(const QCommandLineParser &parsed)
{
    const QString store = parsed.isSet(QStringLiteral("store")) ? parsed.value(QStringLiteral("store"))
                                                                 : MusicBrainzService::code();
    if (store != MusicBrainzService::code()) {
        std::fprintf(stderr, "tagwright-cli album: only %s looks albums up, not \"%s\"\n",
                     MusicBrainzService::code().toLocal8Bit().constData(), store.toLocal8Bit().constData());
        return 2;
    }
    Session session(ServiceConfig::load());
    const StatusLinePrinter notes(session); // e.g. that an answer's texts were cut
    QJsonArray output;
    bool allFound = true;
    for (const QString &releaseId : parsed.positionalArguments()) {
        JobControl control({}, session.statusSink());
        const LookupOutcome outcome = Session::lookup(session.serviceConfig(), releaseId)(control);
        if (outcome.album) {
            output.append(albumToJson(*outcome.album));
        } else {
            allFound = false;
            std::fprintf(stderr, "Lookup of %s failed: %s.\n", releaseId.toLocal8Bit().constData(),
                         outcome.failure.value_or(QStringLiteral("no reason given")).toLocal8Bit().constData());
        }
    }
    const QByteArray json = QJsonDocument(output).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return std::fflush(stdout) == 0 && allFound ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("album"),
    QStringLiteral("Looks each release up by its MusicBrainz identifier (the \"id\" that `search --store\n"
                   "musicbrainz` prints, or its https://musicbrainz.org/release/MBID address) and prints\n"
                   "the albums as a JSON array in the form `search` prints, with the genre, the front\n"
                   "cover of the Cover Art Archive and its \"coverUrl\" (null without one), and the track\n"
                   "list: each track's title, artist, discNumber, trackNumber, length (milliseconds), id,\n"
                   "recordingId and artistId. Texts are cut at 1000 characters and credits at 50 names,\n"
                   "as a line on standard error says. A release that cannot be looked up is named on\n"
                   "standard error and the exit status is 1.\n"
                   "The services' addresses come from the settings or TAGWRIGHT_MUSICBRAINZ_URL and\n"
                   "TAGWRIGHT_COVERART_URL."),
    {{QStringLiteral("store"), MusicBrainzService::code(),
      QStringLiteral("the catalogue: %1, the only one that looks albums up").arg(MusicBrainzService::code())}},
    QStringLiteral("MBID..."),
    QStringLiteral("no release identifier given"),
    runAlbum,
});

} // namespace
