// Times a three-page search of 30 albums with covers against the local catalogue service with
// added latency, once with a client that fetches one request at a time on new connections and
// once as a user meets it: tagwright-cli search, from process start to exit, start-up included.
// Prints both times and their ratio.
//
//   bench_search [--latency-ms N] [--runs N]

#include "OneAtATimeSearch.h"
#include "catalogue/CatalogueServer.h"
#include "search/FetchLimits.h"
#include "search/storefront/SearchEngine.h"
#include "search/ServiceConfig.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString keywords = QStringLiteral("Benchmark Keywords");
constexpr int pages = 3;
constexpr int itemsPerPage = 10;

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray coverPicture(int index)
{
    QImage picture(500, 500, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x + index * 37) % 256, (y + index * 11) % 256, (x ^ y) % 256));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    return bytes;
}

QByteArray pageAnswer(int page)
{
    QString items;
    for (int i = 0; i < itemsPerPage; ++i) {
        const int index = (page - 1) * itemsPerPage + i;
        QString tracks;
        for (int t = 1; t <= 12; ++t)
            tracks += QStringLiteral("<Track Number=\"%1\">Song %1: Part %2</Track>").arg(t).arg(index);
        items += QStringLiteral(
                     "<Item><ASIN>B%1</ASIN><LargeImage><URL>{{base}}/images/cover-%2.jpg</URL></LargeImage>"
                     "<ItemAttributes><Artist>Artist %2</Artist><Title>Album %2</Title><Label>Label</Label>"
                     "<NumberOfDiscs>1</NumberOfDiscs><ReleaseDate>2001-02-03</ReleaseDate></ItemAttributes>"
                     "<BrowseNodes><BrowseNode><Name>Allgemein</Name><Ancestors><BrowseNode><Name>Jazz</Name>"
                     "</BrowseNode></Ancestors></BrowseNode></BrowseNodes>"
                     "<Tracks><Disc Number=\"1\">%3</Disc></Tracks></Item>")
                     .arg(index, 9, 10, QLatin1Char('0'))
                     .arg(index)
                     .arg(tracks);
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                          "<ItemSearchResponse xmlns=\"http://webservices.amazon.com/AWSECommerceService/2011-08-01\">"
                          "<Items><TotalResults>%1</TotalResults><TotalPages>%2</TotalPages>%3</Items>"
                          "</ItemSearchResponse>")
        .arg(pages * itemsPerPage)
        .arg(pages)
        .arg(items)
        .toUtf8();
}

bool buildCatalogue(const QString &root)
{
    QDir dir(root);
    if (!dir.mkpath(keywords) || !dir.mkpath(QStringLiteral("images")))
        return false;
    for (int page = 1; page <= pages; ++page) {
        if (!writeFile(dir.filePath(keywords + QStringLiteral("/page-%1.xml").arg(page)), pageAnswer(page)))
            return false;
    }
    for (int index = 0; index < pages * itemsPerPage; ++index) {
        if (!writeFile(dir.filePath(QStringLiteral("images/cover-%1.jpg").arg(index)), coverPicture(index)))
            return false;
    }
    return true;
}

// Milliseconds of the fastest of the runs; every run must find all albums with their covers.
double fastestRun(int runs, const std::function<bool()> &search, bool *complete)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const bool found = search();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        *complete = *complete && found;
    }
    return *std::min_element(times.begin(), times.end());
}

bool allWithCovers(const ResultList &albums)
{
    return albums.size() == pages * itemsPerPage
           && std::all_of(albums.cbegin(), albums.cend(), [](const auto &entry) { return entry->cover().has_value(); });
}

// Runs tagwright-cli search against the service and checks the albums it printed.
bool searchWithCli(const QString &host, const QString &configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    for (const Storefront &store : ServiceConfig::storefronts())
        environment.insert(store.host.environmentVariable, host);
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.setStandardErrorFile(QProcess::nullDevice());
    cli.start(QStringLiteral(TAGWRIGHT_CLI_PATH), {QStringLiteral("search"), keywords});
    if (!cli.waitForFinished(60'000) || cli.exitCode() != 0)
        return false;
    const QJsonArray albums = QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
    return albums.size() == pages * itemsPerPage
           && std::all_of(albums.begin(), albums.end(), [](const QJsonValue &album) { return album[u"cover"].isObject(); });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int latencyMs = 50;
    int runs = 3;
    const QStringList arguments = app.arguments();
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == u"--latency-ms")
            latencyMs = arguments[i + 1].toInt();
        else if (arguments[i] == u"--runs")
            runs = std::max(1, arguments[i + 1].toInt());
    }

    QTemporaryDir root;
    if (!root.isValid() || !buildCatalogue(root.path())) {
        std::fprintf(stderr, "bench_search: cannot write the catalogue folder\n");
        return 1;
    }
    CatalogueServerOptions options;
    options.root = root.path();
    options.latencyMs = latencyMs;
    CatalogueServer server(options);
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "bench_search: cannot start the catalogue service: %s\n", qPrintable(error));
        return 1;
    }

    ServiceConfig config = ServiceConfig::placeholders();
    const QString host = QStringLiteral("127.0.0.1:%1").arg(server.port());
    for (auto it = config.hosts.begin(); it != config.hosts.end(); ++it)
        it.value() = host;

    QTemporaryDir configHome; // no user settings
    bool complete = true;
    const double oneAtATime = fastestRun(runs, [&] {
        return allWithCovers(*OneAtATimeSearch(config).buildSearchResultFromKeywords(keywords, QStringLiteral("de")));
    }, &complete);
    const double ours = fastestRun(runs, [&] { return searchWithCli(host, configHome.path()); }, &complete);

    std::printf("search of %d pages, %d albums with covers, %d ms added latency per request, fastest of %d runs\n",
                pages, pages * itemsPerPage, latencyMs, runs);
    std::printf("one at a time on new connections: %8.1f ms\n", oneAtATime);
    std::printf("tagwright-cli search, start to exit: %5.1f ms\n", ours);
    std::printf("ratio: %.3f (target at most 0.15)\n", ours / oneAtATime);
    // Page 1 alone comes first; every other request shares the host's connections.
    const long perHost = FetchLimits().maxConnectionsPerHost;
    const long laterRequests = pages - 1 + pages * itemsPerPage;
    const double floor = double(latencyMs) * double(1 + (laterRequests + perHost - 1) / perHost);
    std::printf("network floor with %ld connections to the one host: %.0f ms (ratio %.3f)\n", perHost, floor,
                floor / oneAtATime);
    if (!complete) {
        std::fprintf(stderr, "bench_search: a run did not find every album with its cover\n");
        return 1;
    }
    return 0;
}
