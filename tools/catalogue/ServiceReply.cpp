#include "catalogue/ServiceReply.h"

#include <QFileInfo>
#include <httplib.h>

namespace {

std::string pictureContentType(const QString &name)
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

} // namespace

ServiceReply ServiceReply::xml(int status, QByteArray body)
{
    return ServiceReply(status, std::move(body), "text/xml;charset=UTF-8");
}

ServiceReply ServiceReply::text(int status, const QByteArray &text)
{
    return ServiceReply(status, text + '\n', "text/plain");
}

ServiceReply ServiceReply::picture(const QString &name, QByteArray bytes)
{
    return ServiceReply(200, std::move(bytes), pictureContentType(name));
}

ServiceReply ServiceReply::redirect(const QByteArray &location)
{
    ServiceReply reply = text(307, "See " + location);
    reply.m_location = location.toStdString();
    return reply;
}

ServiceReply ServiceReply::misbehaving(AnswerFault fault)
{
    ServiceReply reply(0, {}, {});
    reply.m_fault = std::move(fault);
    return reply;
}

void ServiceReply::send(const httplib::Request &request, httplib::Response &response,
                        const std::atomic<bool> &stopping) const
{
    if (m_fault) {
        m_fault->apply(request, response, stopping);
        return;
    }
    response.status = m_status;
    response.set_content(m_body.constData(), size_t(m_body.size()), m_contentType);
    if (!m_location.empty())
        response.set_header("Location", m_location);
}
