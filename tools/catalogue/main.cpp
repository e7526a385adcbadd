// tagwright-catalogue: serves a catalogue folder as the ItemSearch service, the MusicBrainz
// release search and lookup and the Cover Art Archive on 127.0.0.1 until SIGINT or SIGTERM. Its first line of output names the port it listens on.
#include "catalogue/CatalogueServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

int usageError(const QString &message)
{
    std::fprintf(stderr, "tagwright-catalogue: %s\nSee tagwright-catalogue --help.\n", qPrintable(message));
    return 2;
}

std::optional<int> numberOption(const QCommandLineParser &parser, const QString &name, int lowest, int highest)
{
    if (!parser.isSet(name))
        return lowest;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tagwright-catalogue"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves a catalogue folder on 127.0.0.1 as three web services:\n"
        "ItemSearch: GET /onca/soap from DIR/<keywords>/page-<n>.xml (every \"/\" in the keywords\n"
        "becomes \"_\") and GET /images/NAME from DIR/images/NAME; requests must be signed with\n"
        "the given access key and secret.\n"
        "MusicBrainz: GET /ws/2/release/?query=Q from DIR/musicbrainz/search/<keywords>.xml and\n"
        "GET /ws/2/release/MBID from DIR/musicbrainz/release/MBID.xml.\n"
        "Cover Art Archive: GET /release/MBID/front-500 redirects to DIR/coverart/MBID.jpg (or .png).\n"
        "Prints \"listening on 127.0.0.1:PORT\" first and serves until interrupted (SIGINT or SIGTERM)."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("root"), QStringLiteral("The catalogue folder."), QStringLiteral("DIR")},
        {QStringLiteral("port"), QStringLiteral("Port to listen on; 0 (the default) takes any free port."),
         QStringLiteral("N")},
        {QStringLiteral("access-key"), QStringLiteral("Access key id that requests must carry."), QStringLiteral("K")},
        {QStringLiteral("secret"), QStringLiteral("Secret that requests must be signed with."), QStringLiteral("S")},
        {QStringLiteral("latency-ms"), QStringLiteral("Delay added before every answer."), QStringLiteral("N")},
        {QStringLiteral("log"), QStringLiteral("Appends one JSON line per request to FILE."), QStringLiteral("FILE")},
        {QStringLiteral("musicbrainz-interval-ms"),
         QStringLiteral("Answers a /ws/2/ request that arrives less than N ms after the previous one with 503."),
         QStringLiteral("N")},
        {QStringLiteral("require-user-agent"),
         QStringLiteral("Answers a /ws/2/ request without a User-Agent \"Name/Version ( contact )\" with 403.")},
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    if (!parser.isSet(QStringLiteral("root")))
        return usageError(QStringLiteral("--root DIR is required"));
    if (parser.isSet(QStringLiteral("access-key")) != parser.isSet(QStringLiteral("secret")))
        return usageError(QStringLiteral("--access-key and --secret go together"));
    const std::optional<int> port = numberOption(parser, QStringLiteral("port"), 0, 65535);
    if (!port)
        return usageError(QStringLiteral("--port takes a number from 0 to 65535"));
    const std::optional<int> latency = numberOption(parser, QStringLiteral("latency-ms"), 0, 600000);
    if (!latency)
        return usageError(QStringLiteral("--latency-ms takes a number of milliseconds from 0 to 600000"));
    const std::optional<int> interval = numberOption(parser, QStringLiteral("musicbrainz-interval-ms"), 0, 600000);
    if (!interval)
        return usageError(QStringLiteral("--musicbrainz-interval-ms takes a number of milliseconds from 0 to 600000"));

    CatalogueServerOptions options;
    options.root = parser.value(QStringLiteral("root"));
    options.port = static_cast<quint16>(*port);
    if (parser.isSet(QStringLiteral("access-key"))) {
        options.accessKey = parser.value(QStringLiteral("access-key"));
        options.secretKey = parser.value(QStringLiteral("secret"));
    }
    options.latencyMs = *latency;
    options.logFile = parser.value(QStringLiteral("log"));
    options.musicBrainzIntervalMs = *interval;
    options.requireUserAgent = parser.isSet(QStringLiteral("require-user-agent"));

    // The stop signals are blocked before the serving threads exist, so every thread
    // inherits the mask and only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    CatalogueServer server(options);
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "tagwright-catalogue: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("listening on 127.0.0.1:%u\n", unsigned(server.port()));
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}
