#include "catalogue/CatalogueServer.h"

#include "catalogue/CatalogueFolder.h"
#include "catalogue/FaultSchedule.h"
#include "catalogue/MusicBrainzManners.h"
#include "catalogue/RequestLog.h"
#include "catalogue/ServiceAnswers.h"
#include "catalogue/ServiceReply.h"
#include "catalogue/SignedQuery.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <httplib.h>

#include <csignal>
#include <sys/socket.h>
#include <thread>

namespace {

// Enough workers for a client that fetches a page's covers all at once while other
// connections sit idle between requests (each open connection holds a worker).
constexpr size_t workerThreads = 64;

std::optional<QByteArray> readFile(const std::optional<QString> &path)
{
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// A MusicBrainz search query is Lucene syntax; its keywords are the query with every
// backslash escape taken away ("AC\/DC" searches for "AC/DC").
QString keywordsOfLuceneQuery(const QString &query)
{
    QString keywords;
    keywords.reserve(query.size());
    for (qsizetype i = 0; i < query.size(); ++i) {
        if (query.at(i) == u'\\' && i + 1 < query.size())
            ++i;
        keywords.append(query.at(i));
    }
    return keywords;
}

ServiceReply musicBrainzError(int status, const QString &text)
{
    return ServiceReply::xml(status, ServiceAnswers::musicBrainzError(text));
}

} // namespace

// Counts a request as being answered for the guard's lifetime; `count` includes it. The
// most requests answered at once bounds from below how many connections a client used at once.
struct AnsweringNow {
    explicit AnsweringNow(std::atomic<int> &answering) : answering(answering), count(++answering) {}
    ~AnsweringNow() { --answering; }
    std::atomic<int> &answering;
    const int count;
};

struct CatalogueServer::Private {
    explicit Private(CatalogueServerOptions serverOptions)
        : options(std::move(serverOptions)),
          folder(options.root),
          manners(options.musicBrainzIntervalMs, options.requireUserAgent)
    {
    }

    using Answer = ServiceReply (Private::*)(const httplib::Request &request, qint64 arrivedMs);
    void serve(const httplib::Request &request, httplib::Response &response, Answer answer);

    ServiceReply itemSearch(const httplib::Request &request, qint64 arrivedMs);
    ServiceReply picture(const httplib::Request &request,
                         std::optional<QString> (CatalogueFolder::*file)(const QString &) const);
    ServiceReply image(const httplib::Request &request, qint64 arrivedMs);
    ServiceReply musicBrainz(const httplib::Request &request, qint64 arrivedMs);
    ServiceReply coverArt(const httplib::Request &request, qint64 arrivedMs);
    ServiceReply coverArtImage(const httplib::Request &request, qint64 arrivedMs);
    ServiceReply unknownPath(const httplib::Request &request, qint64 arrivedMs);

    // The answer's fault, when its .fault file strikes for this request.
    std::optional<ServiceReply> faultReply(const std::optional<QString> &stem);
    // DIR/<stem>.xml with {{base}} filled in, or `missing` when there is none.
    ServiceReply storedReply(const std::optional<QString> &stem, ServiceReply missing) const;

    CatalogueServerOptions options;
    CatalogueFolder folder;
    FaultSchedule faults;
    MusicBrainzManners manners;
    RequestLog log;
    QElapsedTimer sinceStart;
    httplib::Server http;
    std::thread listener;
    std::atomic<bool> listenerEnded = false;
    std::atomic<bool> stopping = false;
    std::atomic<int> answering = 0;  // requests being answered right now
    quint16 port = 0;
    int listeningSocket = -1;
    QByteArray base;  // "http://127.0.0.1:PORT", put in place of {{base}} in served pages
};

void CatalogueServer::Private::serve(const httplib::Request &request, httplib::Response &response, Answer answer)
{
    const AnsweringNow now(answering);
    const qint64 arrivedMs = sinceStart.elapsed();
    if (options.latencyMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(options.latencyMs));
    const ServiceReply reply = (this->*answer)(request, arrivedMs);
    log.append({QString::fromStdString(request.path), SignedQuery::fromTarget(request.target).parameters(),
                reply.signatureVerified(), now.count, QString::fromStdString(request.get_header_value("User-Agent")),
                arrivedMs, reply.status()});
    reply.send(request, response, stopping);
}

std::optional<ServiceReply> CatalogueServer::Private::faultReply(const std::optional<QString> &stem)
{
    std::optional<AnswerFault> fault = faults.faultFor(folder.answerFile(stem, QStringLiteral(".fault")));
    if (!fault)
        return std::nullopt;
    return ServiceReply::misbehaving(std::move(*fault));
}

ServiceReply CatalogueServer::Private::storedReply(const std::optional<QString> &stem, ServiceReply missing) const
{
    const std::optional<QByteArray> body = readFile(folder.answerFile(stem, QStringLiteral(".xml")));
    if (!body)
        return missing;
    return ServiceReply::xml(200, QByteArray(*body).replace("{{base}}", base));
}

ServiceReply CatalogueServer::Private::itemSearch(const httplib::Request &request, qint64)
{
    const SignedQuery query = SignedQuery::fromTarget(request.target);
    const SignedQuery::Verdict verdict = query.verify(QString::fromStdString(request.get_header_value("Host")),
                                                      options.accessKey, options.secretKey);
    const QString keywords = query.value(QStringLiteral("Keywords")).value_or(QString());
    const QString page = query.value(QStringLiteral("ItemPage")).value_or(QStringLiteral("1"));
    const std::optional<QString> stem = CatalogueFolder::pageStem(keywords, page);
    // A fault stands for a failing network or server, which strikes before any checking.
    std::optional<ServiceReply> reply = faultReply(stem);
    if (!reply) {
        switch (verdict) {
        case SignedQuery::Verdict::UnknownAccessKey:
            reply = ServiceReply::xml(403, ServiceAnswers::invalidClientTokenId());
            break;
        case SignedQuery::Verdict::SignatureMismatch:
            reply = ServiceReply::xml(403, ServiceAnswers::signatureDoesNotMatch());
            break;
        case SignedQuery::Verdict::Verified:
            reply = storedReply(stem, ServiceReply::xml(200, ServiceAnswers::noExactMatches(keywords, page)));
            break;
        }
    }
    reply->setSignatureVerified(verdict == SignedQuery::Verdict::Verified);
    return *reply;
}

// A picture the folder holds under the requested name, found by the folder's look-up for it.
ServiceReply CatalogueServer::Private::picture(const httplib::Request &request,
                                               std::optional<QString> (CatalogueFolder::*file)(const QString &) const)
{
    const QString name = QString::fromStdString(request.matches[1]);
    const std::optional<QByteArray> body = readFile((folder.*file)(name));
    if (!body)
        return ServiceReply::text(404, "No such picture.");
    return ServiceReply::picture(name, *body);
}

ServiceReply CatalogueServer::Private::image(const httplib::Request &request, qint64)
{
    return picture(request, &CatalogueFolder::imageFile);
}

ServiceReply CatalogueServer::Private::musicBrainz(const httplib::Request &request, qint64 arrivedMs)
{
    if (const std::optional<MusicBrainzManners::Refusal> refusal =
            manners.check(QString::fromStdString(request.get_header_value("User-Agent")), arrivedMs))
        return musicBrainzError(refusal->status, refusal->reason);

    static const QRegularExpression search(QStringLiteral("^/ws/2/release/?$"));
    static const QRegularExpression lookup(QStringLiteral("^/ws/2/release/([^/]+)$"));
    const QString path = QString::fromStdString(request.path);
    if (search.match(path).hasMatch()) {
        if (!request.has_param("query"))
            return musicBrainzError(400, QStringLiteral("A release search needs a query."));
        // The query string is form-encoded: httplib has turned "+" into a space already.
        const QString query = QString::fromStdString(request.get_param_value("query"));
        const std::optional<QString> stem = CatalogueFolder::musicBrainzSearchStem(keywordsOfLuceneQuery(query));
        if (std::optional<ServiceReply> fault = faultReply(stem))
            return *fault;
        return storedReply(stem, ServiceReply::xml(200, ServiceAnswers::musicBrainzNoReleases()));
    }
    if (const QRegularExpressionMatch match = lookup.match(path); match.hasMatch()) {
        const std::optional<QString> stem = CatalogueFolder::musicBrainzReleaseStem(match.captured(1));
        if (!stem)
            return musicBrainzError(400, QStringLiteral("Invalid mbid."));
        if (std::optional<ServiceReply> fault = faultReply(stem))
            return *fault;
        return storedReply(stem, musicBrainzError(404, QStringLiteral("Not Found")));
    }
    return musicBrainzError(404, QStringLiteral("Not Found"));
}

ServiceReply CatalogueServer::Private::coverArt(const httplib::Request &request, qint64)
{
    const QString mbid = QString::fromStdString(request.matches[1]);
    const std::optional<QString> stem = CatalogueFolder::coverArtStem(mbid);
    if (!stem)
        return ServiceReply::text(400, mbid.toUtf8() + " is not a valid release MBID.");
    if (std::optional<ServiceReply> fault = faultReply(stem))
        return *fault;
    for (const QString &suffix : {QStringLiteral(".jpg"), QStringLiteral(".png")})
        if (folder.answerFile(stem, suffix))
            return ServiceReply::redirect(base + "/coverart-images/" + mbid.toUtf8() + suffix.toUtf8());
    return ServiceReply::text(404, "No front cover for release " + mbid.toUtf8() + ".");
}

ServiceReply CatalogueServer::Private::coverArtImage(const httplib::Request &request, qint64)
{
    return picture(request, &CatalogueFolder::coverArtImageFile);
}

ServiceReply CatalogueServer::Private::unknownPath(const httplib::Request &, qint64)
{
    return ServiceReply::text(404, "Not found: the catalogue serves /onca/soap, /images/NAME, /ws/2/release/ and "
                                   "/release/MBID/front-500.");
}

CatalogueServer::CatalogueServer(CatalogueServerOptions options)
    : d(std::make_unique<Private>(std::move(options)))
{
    d->http.new_task_queue = [] { return new httplib::ThreadPool(workerThreads); };
    // Clients reuse connections for a whole search; idle ones are let go soon so that a
    // stop never waits long for them.
    d->http.set_keep_alive_max_count(100000);
    d->http.set_keep_alive_timeout(2);
    d->http.set_tcp_nodelay(true);
    // The library's default also sets SO_REUSEPORT, which would let a second service share
    // a port that is in use; a busy port must make start() fail instead.
    d->http.set_socket_options([this](int socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        d->listeningSocket = socket;
    });
    const auto route = [this](const char *pattern, Private::Answer answer) {
        d->http.Get(pattern, [this, answer](const httplib::Request &request, httplib::Response &response) {
            d->serve(request, response, answer);
        });
    };
    // The first pattern that matches the whole path answers.
    route("/onca/soap", &Private::itemSearch);
    route("/images/(.+)", &Private::image);
    route("/ws/2/.*", &Private::musicBrainz);
    route("/release/([^/]+)/front(?:-250|-500|-1200)?", &Private::coverArt);
    route("/coverart-images/(.+)", &Private::coverArtImage);
    route(".*", &Private::unknownPath);
}

CatalogueServer::~CatalogueServer()
{
    stop();
}

bool CatalogueServer::start(QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (d->listener.joinable())
        return fail(QStringLiteral("the catalogue service is already running"));
    if (!d->folder.exists())
        return fail(QStringLiteral("the catalogue folder \"%1\" does not exist").arg(d->options.root));
    if (!d->log.open(d->options.logFile, error))
        return false;

    d->stopping = false;
    // A client that goes away mid-answer must not end the process with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    const int port = d->options.port == 0
                         ? d->http.bind_to_any_port("127.0.0.1")
                         : (d->http.bind_to_port("127.0.0.1", d->options.port) ? int(d->options.port) : -1);
    if (port <= 0)
        return fail(QStringLiteral("cannot listen on 127.0.0.1:%1: the port is in use or not allowed")
                        .arg(d->options.port));
    d->port = static_cast<quint16>(port);
    // The library listens with a backlog of 5: a client that opens a page's cover
    // connections all at once would see SYNs dropped and wait a second for each retry.
    ::listen(d->listeningSocket, SOMAXCONN);
    d->base = "http://127.0.0.1:" + QByteArray::number(port);
    d->sinceStart.start();

    d->listener = std::thread([this] {
        d->http.listen_after_bind();
        d->listenerEnded = true;
    });
    // stop() only reaches a server that has entered its accept loop.
    while (!d->http.is_running() && !d->listenerEnded)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

quint16 CatalogueServer::port() const
{
    return d->port;
}

void CatalogueServer::stop()
{
    if (!d->listener.joinable())
        return;
    d->stopping = true;
    d->http.stop();
    d->listener.join();
}
