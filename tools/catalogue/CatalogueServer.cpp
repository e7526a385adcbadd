#include "catalogue/CatalogueServer.h"

#include "catalogue/CatalogueFolder.h"
#include "catalogue/PageFault.h"
#include "catalogue/RequestLog.h"
#include "catalogue/ServiceAnswers.h"
#include "catalogue/SignedQuery.h"

#include <QFile>
#include <QFileInfo>
#include <httplib.h>

#include <csignal>
#include <sys/socket.h>
#include <thread>

namespace {

// Enough workers for a client that fetches a page's covers all at once while other
// connections sit idle between requests (each open connection holds a worker).
constexpr size_t workerThreads = 64;

const char *const xmlContentType = "text/xml;charset=UTF-8";

std::string imageContentType(const QString &name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == u"jpg" || suffix == u"jpeg")
        return "image/jpeg";
    if (suffix == u"png")
        return "image/png";
    if (suffix == u"gif")
        return "image/gif";
    return "application/octet-stream";
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

void setBody(httplib::Response &response, int status, const QByteArray &body, const std::string &contentType)
{
    response.status = status;
    response.set_content(body.constData(), static_cast<size_t>(body.size()), contentType);
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
        : options(std::move(serverOptions)), folder(options.root)
    {
    }

    void answerItemSearch(const httplib::Request &request, httplib::Response &response, int concurrent);
    void answerImage(const httplib::Request &request, httplib::Response &response, int concurrent);
    void answerUnknownPath(const httplib::Request &request, httplib::Response &response, int concurrent);
    void addLatency() const;
    std::optional<PageFault> faultFor(const QString &keywords, const QString &page) const;

    CatalogueServerOptions options;
    CatalogueFolder folder;
    RequestLog log;
    httplib::Server http;
    std::thread listener;
    std::atomic<bool> listenerEnded = false;
    std::atomic<bool> stopping = false;
    std::atomic<int> answering = 0;  // requests being answered right now
    quint16 port = 0;
    int listeningSocket = -1;
    QByteArray base;  // "http://127.0.0.1:PORT", put in place of {{base}} in served pages
};

void CatalogueServer::Private::addLatency() const
{
    if (options.latencyMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(options.latencyMs));
}

std::optional<PageFault> CatalogueServer::Private::faultFor(const QString &keywords, const QString &page) const
{
    const std::optional<QString> path = folder.faultFile(keywords, page);
    if (!path)
        return std::nullopt;
    const std::optional<QByteArray> text = readFile(*path);
    std::optional<PageFault> fault = text ? PageFault::parse(*text) : std::nullopt;
    if (!fault)
        qWarning("tagwright-catalogue: %s names no known fault (hang, close, garbage, status N, huge); "
                 "the page is served normally", qPrintable(*path));
    return fault;
}

void CatalogueServer::Private::answerItemSearch(const httplib::Request &request, httplib::Response &response,
                                                int concurrent)
{
    addLatency();
    const SignedQuery query = SignedQuery::fromTarget(request.target);
    const SignedQuery::Verdict verdict = query.verify(QString::fromStdString(request.get_header_value("Host")),
                                                      options.accessKey, options.secretKey);
    log.append(QString::fromStdString(request.path), query.parameters(), verdict == SignedQuery::Verdict::Verified,
               concurrent);

    const QString keywords = query.value(QStringLiteral("Keywords")).value_or(QString());
    const QString page = query.value(QStringLiteral("ItemPage")).value_or(QStringLiteral("1"));
    // A fault stands for a failing network or server, which strikes before any checking.
    if (const std::optional<PageFault> fault = faultFor(keywords, page)) {
        fault->apply(request, response, stopping);
        return;
    }
    switch (verdict) {
    case SignedQuery::Verdict::UnknownAccessKey:
        setBody(response, 403, ServiceAnswers::invalidClientTokenId(), xmlContentType);
        return;
    case SignedQuery::Verdict::SignatureMismatch:
        setBody(response, 403, ServiceAnswers::signatureDoesNotMatch(), xmlContentType);
        return;
    case SignedQuery::Verdict::Verified:
        break;
    }
    const std::optional<QString> path = folder.pageFile(keywords, page);
    const std::optional<QByteArray> body = path ? readFile(*path) : std::nullopt;
    if (!body) {
        setBody(response, 200, ServiceAnswers::noExactMatches(keywords, page), xmlContentType);
        return;
    }
    setBody(response, 200, QByteArray(*body).replace("{{base}}", base), xmlContentType);
}

void CatalogueServer::Private::answerImage(const httplib::Request &request, httplib::Response &response,
                                           int concurrent)
{
    addLatency();
    log.append(QString::fromStdString(request.path), SignedQuery::fromTarget(request.target).parameters(), false,
               concurrent);
    const QString name = QString::fromStdString(request.matches[1]);
    const std::optional<QString> path = folder.imageFile(name);
    const std::optional<QByteArray> body = path ? readFile(*path) : std::nullopt;
    if (!body) {
        setBody(response, 404, "No such picture.\n", "text/plain");
        return;
    }
    setBody(response, 200, *body, imageContentType(name));
}

void CatalogueServer::Private::answerUnknownPath(const httplib::Request &request, httplib::Response &response,
                                                 int concurrent)
{
    log.append(QString::fromStdString(request.path), SignedQuery::fromTarget(request.target).parameters(), false,
               concurrent);
    setBody(response, 404, "Not found: the catalogue serves /onca/soap and /images/NAME.\n", "text/plain");
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
    d->http.Get("/onca/soap", [this](const httplib::Request &request, httplib::Response &response) {
        const AnsweringNow answering(d->answering);
        d->answerItemSearch(request, response, answering.count);
    });
    d->http.Get("/images/(.+)", [this](const httplib::Request &request, httplib::Response &response) {
        const AnsweringNow answering(d->answering);
        d->answerImage(request, response, answering.count);
    });
    d->http.Get(".*", [this](const httplib::Request &request, httplib::Response &response) {
        const AnsweringNow answering(d->answering);
        d->answerUnknownPath(request, response, answering.count);
    });
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
