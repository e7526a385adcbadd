#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <optional>

namespace httplib {
struct Request;
struct Response;
}

// A misbehaviour written into a .fault file beside an answer (DIR/<keywords>/page-<n>.fault,
// DIR/musicbrainz/release/<MBID>.fault, ...) that replaces that answer. The first line names
// it: "hang" (never answers), "close" (drops the connection without an answer), "garbage" (a
// body that is not well-formed XML), "status N" or "status N retry-after S" (HTTP status N,
// with a Retry-After header when given, and the file's further lines as an XML body when there
// are any), "huge" (an endless body). Any of them may end in "times N": then only the first N
// requests for the answer misbehave. Every one ends when the client goes away or the server stops.
class AnswerFault {
public:
    enum class Kind { Hang, Close, Garbage, Status, Huge };

    // The fault that a .fault file's text names; nothing for any other text.
    static std::optional<AnswerFault> parse(const QByteArray &text);

    Kind kind() const { return m_kind; }
    // How many requests misbehave before the real answer is given; nothing for all of them.
    std::optional<int> times() const { return m_times; }
    // The HTTP status that goes out; 0 when no answer is sent at all (hang, close).
    int status() const;

    // Answers the request the faulty way; runs on the server's worker thread.
    void apply(const httplib::Request &request, httplib::Response &response,
               const std::atomic<bool> &stopping) const;

private:
    explicit AnswerFault(Kind kind) : m_kind(kind) {}

    Kind m_kind;
    int m_status = 0;
    std::optional<int> m_retryAfterSeconds;
    std::optional<int> m_times;
    QByteArray m_body;
};
