// tagwright-cli search: runs the album search and prints the albums found as JSON.
#include "cli/AlbumJson.h"
#include "cli/CliCommand.h"
#include "cli/StatusLinePrinter.h"
#include "search/SearchEngine.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

const QString synopsis = QStringLiteral("search [--store de|com|co.uk|fr] KEYWORDS...");

const QString description = QStringLiteral(
    "Searches the album catalogue for KEYWORDS (joined by spaces) and prints the albums found\n"
    "as a JSON array, one object per album: artistName, albumName, asinNumber,\n"
    "yearOfPublication, genre, label (null when absent), numberOfDiscs, numberOfTracks,\n"
    "cover ({\"width\", \"height\"} or null) and trackList (array of {\"title\", \"artist\"} or null).\n"
    "Each status line goes to standard error as it is posted. An empty result is no error;\n"
    "when result pages fail, a last line on standard error says why, and when every page\n"
    "failed the exit status is 1.\n"
    "--store CODE   storefront: de (the default), com, co.uk or fr; any other text reaches\n"
    "               no host and fails.\n"
    "--             ends the options; every later argument is a keyword.\n"
    "Hosts and credentials come from the settings (Service/...) or the environment:\n"
    "TAGWRIGHT_HOST_DE, _COM, _CO_UK, _FR, TAGWRIGHT_ACCESS_KEY, TAGWRIGHT_SECRET_KEY.");

int usageError(const QString &message)
{
    std::fprintf(stderr, "tagwright-cli search: %s\nUsage: tagwright-cli %s\n", qPrintable(message),
                 qPrintable(synopsis));
    return 2;
}

int runSearch(const QStringList &args)
{
    QString store = QStringLiteral("de");
    QStringList keywords;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--help" || arg == u"-h") {
            std::printf("Usage: tagwright-cli %s\n\n%s\n", qPrintable(synopsis), qPrintable(description));
            return 0;
        }
        if (arg == u"--store") {
            if (++i == args.size())
                return usageError(QStringLiteral("--store needs a storefront code"));
            store = args[i];
        } else if (arg.startsWith(u"--store=")) {
            store = arg.mid(8);
        } else if (arg == u"--") {
            keywords += args.mid(i + 1);
            break;
        } else if (arg.startsWith(u"--")) {
            return usageError(QStringLiteral("unknown option \"%1\"").arg(arg));
        } else {
            keywords << arg;
        }
    }
    if (keywords.isEmpty())
        return usageError(QStringLiteral("no keywords given"));

    // Status lines show while the search still runs, as the window's status line would.
    const StatusLinePrinter statusLines;
    SearchEngine engine;
    const SearchOutcome outcome = engine.buildSearchResultFromKeywords(keywords.join(u' '), store);
    if (const std::optional<QString> failure = outcome.failureStatus())
        std::fprintf(stderr, "%s\n", failure->toLocal8Bit().constData());

    QJsonArray output;
    for (const std::shared_ptr<ResultEntry> &album : *outcome.albums)
        output.append(albumToJson(*album));
    const QByteArray json = QJsonDocument(output).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return std::fflush(stdout) == 0 && !outcome.everyPageFailed() ? 0 : 1;
}

const CliCommandRegistration registration({QStringLiteral("search"), synopsis, description, runSearch});

} // namespace
