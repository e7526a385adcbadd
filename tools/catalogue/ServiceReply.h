#pragma once

#include "catalogue/AnswerFault.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <optional>
#include <string>

namespace httplib {
struct Request;
struct Response;
}

// What the service answers one request with. It is decided whole before anything goes out,
// so that the request log, written first, can carry the status that will be sent.
class ServiceReply {
public:
    static ServiceReply xml(int status, QByteArray body);
    static ServiceReply text(int status, const QByteArray &text);  // a line of plain text
    static ServiceReply picture(const QString &name, QByteArray bytes);  // typed by the name's suffix
    static ServiceReply redirect(const QByteArray &location);  // 307 to an absolute URL
    static ServiceReply misbehaving(AnswerFault fault);

    // The HTTP status that goes out; 0 when a fault sends no answer at all.
    int status() const { return m_fault ? m_fault->status() : m_status; }
    bool signatureVerified() const { return m_signatureVerified; }
    void setSignatureVerified(bool verified) { m_signatureVerified = verified; }

    // Answers the request; a fault may keep the worker thread until the client leaves or
    // the service stops.
    void send(const httplib::Request &request, httplib::Response &response, const std::atomic<bool> &stopping) const;

private:
    ServiceReply(int status, QByteArray body, std::string contentType)
        : m_status(status), m_body(std::move(body)), m_contentType(std::move(contentType))
    {
    }

    int m_status;
    QByteArray m_body;
    std::string m_contentType;
    std::string m_location;
    std::optional<AnswerFault> m_fault;  // when set, answers instead of everything above
    bool m_signatureVerified = false;
};
