#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <optional>

namespace httplib {
struct Request;
struct Response;
}

// A misbehaviour written into DIR/<keywords>/page-<n>.fault that replaces that page's
// answer: "hang" (never answers), "close" (drops the connection without an answer),
// "garbage" (a body that is not well-formed XML), "status N" (HTTP status N, with the file's
// further lines as an XML body when there are any), "huge" (an endless body). Every one of them ends when the client goes away or the server stops.
class PageFault {
public:
    enum class Kind { Hang, Close, Garbage, Status, Huge };

    // The fault that a .fault file's text names; nothing for any other text.
    static std::optional<PageFault> parse(const QByteArray &text);

    Kind kind() const { return m_kind; }

    // Answers the request the faulty way; runs on the server's worker thread.
    void apply(const httplib::Request &request, httplib::Response &response,
               const std::atomic<bool> &stopping) const;

private:
    PageFault(Kind kind, int status = 0, QByteArray body = {})
        : m_kind(kind), m_status(status), m_body(std::move(body))
    {
    }

    Kind m_kind;
    int m_status;
    QByteArray m_body;
};
