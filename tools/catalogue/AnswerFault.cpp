#include "catalogue/AnswerFault.h"

#include <QDir>
#include <QRegularExpression>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

namespace {

constexpr auto pollStep = std::chrono::milliseconds(50);

// Port of an IPv4 or IPv6 socket address, -1 for any other family.
int portOf(const sockaddr_storage &address)
{
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in &>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6 &>(address).sin6_port);
    return -1;
}

// The server does not hand its connection socket to request handlers; the connection is
// found among the process's open descriptors by its two port numbers, which name a
// loopback TCP connection uniquely. -1 when it is not found.
int connectionSocket(const httplib::Request &request)
{
    const QStringList descriptors = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    for (const QString &name : descriptors) {
        bool isNumber = false;
        const int fd = name.toInt(&isNumber);
        if (!isNumber)
            continue;
        sockaddr_storage local{};
        sockaddr_storage peer{};
        socklen_t localLength = sizeof local;
        socklen_t peerLength = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr *>(&local), &localLength) != 0
            || getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &peerLength) != 0)
            continue;
        if (portOf(local) == request.local_port && portOf(peer) == request.remote_port)
            return fd;
    }
    return -1;
}

bool clientHasGone(int fd)
{
    pollfd watch{fd, POLLIN | POLLRDHUP, 0};
    if (poll(&watch, 1, static_cast<int>(pollStep.count())) <= 0)
        return false;
    if (watch.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL))
        return true;
    char byte = 0;
    if (recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0)
        return true;
    // The client sent more bytes (a pipelined request): it is still there; wait a step so
    // that the unread bytes do not turn this into a busy loop.
    std::this_thread::sleep_for(pollStep);
    return false;
}

void dropConnection(const httplib::Request &request, httplib::Response &response)
{
    const int fd = connectionSocket(request);
    if (fd >= 0) {
        // The server's own answer then fails to go out and it closes the connection.
        shutdown(fd, SHUT_RDWR);
        return;
    }
    // Without the socket, cut the answer right after its headers instead.
    response.set_content_provider(1, "text/xml", [](size_t, size_t, httplib::DataSink &) { return false; });
}

void hang(const httplib::Request &request, httplib::Response &response, const std::atomic<bool> &stopping)
{
    const int fd = connectionSocket(request);
    while (!stopping) {
        if (fd < 0)
            std::this_thread::sleep_for(pollStep);
        else if (clientHasGone(fd))
            break;
    }
    dropConnection(request, response);
}

void endlessBody(httplib::Response &response, const std::atomic<bool> &stopping)
{
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<ItemSearchResponse xmlns=\"http://webservices.amazon.com/AWSECommerceService/2011-08-01\">"
                             "<Items><TotalPages>1</TotalPages>";
    std::string block;
    const std::string item = "<Item><ASIN>B000000000</ASIN></Item>\n";
    while (block.size() < 64 * 1024)
        block += item;
    // Written one block at a time while the client reads: memory stays at one block, and
    // the first failed write (the client has gone) ends the answer.
    response.set_chunked_content_provider(
        "text/xml;charset=UTF-8", [head, block, &stopping](size_t offset, httplib::DataSink &sink) {
            if (stopping) {
                sink.done();
                return true;
            }
            const std::string &next = offset == 0 ? head : block;
            return sink.write(next.data(), next.size());
        });
}

} // namespace

std::optional<AnswerFault> AnswerFault::parse(const QByteArray &text)
{
    // The first line names the fault; what follows it is the body of a "status N" answer.
    const qsizetype lineEnd = text.indexOf('\n');
    QString name = QString::fromUtf8(lineEnd < 0 ? text : text.left(lineEnd)).simplified();
    std::optional<int> times;
    static const QRegularExpression timesSuffix(QStringLiteral(" times ([1-9][0-9]{0,8})$"));
    if (const QRegularExpressionMatch match = timesSuffix.match(name); match.hasMatch()) {
        times = match.captured(1).toInt();
        name.truncate(match.capturedStart());
    }
    std::optional<AnswerFault> fault;
    if (name == u"hang")
        fault = AnswerFault(Kind::Hang);
    else if (name == u"close")
        fault = AnswerFault(Kind::Close);
    else if (name == u"garbage")
        fault = AnswerFault(Kind::Garbage);
    else if (name == u"huge")
        fault = AnswerFault(Kind::Huge);
    static const QRegularExpression status(QStringLiteral("^status ([2-5][0-9][0-9])(?: retry-after ([0-9]{1,9}))?$"));
    if (const QRegularExpressionMatch match = status.match(name); match.hasMatch()) {
        fault = AnswerFault(Kind::Status);
        fault->m_status = match.captured(1).toInt();
        if (match.hasCaptured(2))
            fault->m_retryAfterSeconds = match.captured(2).toInt();
        fault->m_body = lineEnd < 0 ? QByteArray() : text.mid(lineEnd + 1);
    }
    if (fault)
        fault->m_times = times;
    return fault;
}

int AnswerFault::status() const
{
    switch (m_kind) {
    case Kind::Hang:
    case Kind::Close:
        return 0;
    case Kind::Garbage:
    case Kind::Huge:
        return 200;
    case Kind::Status:
        break;
    }
    return m_status;
}

void AnswerFault::apply(const httplib::Request &request, httplib::Response &response,
                      const std::atomic<bool> &stopping) const
{
    switch (m_kind) {
    case Kind::Hang:
        hang(request, response, stopping);
        break;
    case Kind::Close:
        dropConnection(request, response);
        break;
    case Kind::Garbage:
        response.status = 200;
        response.set_content("<?xml version=\"1.0\"?>\n<ItemSearchResponse><Items><TotalPages>3</TotalPages>"
                             "<Item><ASIN>B0GARBAGE0</ASIN> & this is <<< not well-formed XML",
                             "text/xml;charset=UTF-8");
        break;
    case Kind::Status:
        response.status = m_status;
        if (m_retryAfterSeconds)
            response.set_header("Retry-After", std::to_string(*m_retryAfterSeconds));
        if (m_body.isEmpty())
            response.set_content("The catalogue answers this request with status " + std::to_string(m_status) + ".\n",
                                 "text/plain");
        else
            response.set_content(m_body.constData(), size_t(m_body.size()), "text/xml;charset=UTF-8");
        break;
    case Kind::Huge:
        response.status = 200;
        endlessBody(response, stopping);
        break;
    }
}
