// tagwright-cli search: runs the album search and prints the albums found as JSON.
#include "cli/AlbumJson.h"
#include "cli/CliCommand.h"
#include "cli/StatusLinePrinter.h"
#include "common/JobControl.h"
#include "session/Session.h"
#include "search/ServiceConfig.h"
#include "search/musicbrainz/MusicBrainzService.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

// The storefront and credential variables, named as ServiceConfig reads them.
QString environmentHelp()
{
    QStringList names;
    for (const ServiceSetting &setting : ServiceConfig::allSettings())
        names.append(setting.environmentVariable);
    return names.join(QStringLiteral(", "));
}

const QString description = QStringLiteral(
    "Searches the album catalogue for KEYWORDS (joined by spaces) and prints the albums found\n"
    "as a JSON array, one object per album: artistName, albumName, asinNumber,\n"
    "yearOfPublication, genre, label, coverUrl, id, releaseGroupId, albumArtistId (null when\n"
    "absent), numberOfDiscs, numberOfTracks, cover ({\"width\", \"height\"} or null) and\n"
    "trackList (array of {\"title\", \"artist\", ...} or null). With --store %2 the albums\n"
    "come from MusicBrainz, without tracks or cover but with country, date, format, barcode,\n"
    "catalogNumber and releaseType where known; `album` looks one up in full, as does a\n"
    "release id or https://musicbrainz.org/release/ID given as the keywords.\n"
    "Each status line goes to standard error as it is posted. An empty result is no error;\n"
    "when result pages fail, a last line on standard error says why, and when every page\n"
    "failed the exit status is 1.\n"
    "Hosts and credentials come from the settings (Service/...) or the environment:\n%1.");

int runSearch(const QCommandLineParser &parsed)
{
    const QString store = parsed.isSet(QStringLiteral("store")) ? parsed.value(QStringLiteral("store"))
                                                                 : ServiceConfig::storefronts().first().code;
    const QStringList keywords = parsed.positionalArguments();

    // Status lines show while the search still runs, as the window's status line would.
    Session session(ServiceConfig::load());
    const StatusLinePrinter statusLines(session);
    JobControl control({}, session.statusSink());
    const SearchOutcome outcome = Session::search(session.serviceConfig(), keywords.join(u' '), store)(control);
    if (const std::optional<QString> failure = outcome.failureStatus())
        std::fprintf(stderr, "%s\n", failure->toLocal8Bit().constData());

    QJsonArray output;
    for (const std::shared_ptr<ResultEntry> &album : *outcome.albums)
        output.append(albumToJson(*album));
    const QByteArray json = QJsonDocument(output).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return std::fflush(stdout) == 0 && !outcome.everyPageFailed() ? 0 : 1;
}

const CliCommandRegistration registration({
    QStringLiteral("search"),
    description.arg(environmentHelp(), MusicBrainzService::code()),
    {{QStringLiteral("store"), (ServiceConfig::storefrontCodes() << MusicBrainzService::code()).join(u'|'),
      QStringLiteral("the storefront: %1 (the default) or another of these; any other text\n"
                     "reaches no host and fails")
          .arg(ServiceConfig::storefronts().first().code)}},
    QStringLiteral("KEYWORDS..."),
    QStringLiteral("no keywords given"),
    runSearch,
});

} // namespace
