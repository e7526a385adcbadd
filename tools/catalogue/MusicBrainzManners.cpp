#include "catalogue/MusicBrainzManners.h"

#include <QRegularExpression>
#include <algorithm>

std::optional<MusicBrainzManners::Refusal> MusicBrainzManners::check(const QString &userAgent, qint64 arrivedMs)
{
    std::optional<qint64> previous;
    {
        std::lock_guard lock(m_mutex);
        previous = m_previousArrivalMs;
        // Requests handled on two threads may take the lock out of their arrival order.
        m_previousArrivalMs = previous ? std::max(*previous, arrivedMs) : arrivedMs;
    }
    if (m_intervalMs > 0 && previous && arrivedMs - *previous < m_intervalMs)
        return Refusal{503, QStringLiteral("Too many requests: this service takes one request every %1 ms, and "
                                           "this one came %2 ms after the previous one.")
                                .arg(m_intervalMs)
                                .arg(arrivedMs - *previous)};
    if (m_requireUserAgent && !isWellFormedUserAgent(userAgent))
        return Refusal{403, QStringLiteral("Please identify your application with a User-Agent of the shape "
                                           "\"Name/Version ( contact )\"; this request sent \"%1\".")
                                .arg(userAgent)};
    return std::nullopt;
}

bool MusicBrainzManners::isWellFormedUserAgent(const QString &userAgent)
{
    static const QRegularExpression shape(QStringLiteral("^[^/ ]+/[^ ]+ \\( .+ \\)$"));
    return shape.match(userAgent).hasMatch();
}
