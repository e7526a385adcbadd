#pragma once

#include <QString>
#include <mutex>
#include <optional>

// The manners the MusicBrainz web service asks of its clients, checked when the catalogue is
// told to: no request sooner than a given interval after the previous one arrived (else HTTP
// 503, as the service answers when it rate-limits), and a User-Agent of the shape
// "Name/Version ( contact )" (else HTTP 403). Both are off by default.
class MusicBrainzManners {
public:
    struct Refusal {
        int status;
        QString reason;
    };

    MusicBrainzManners(int intervalMs, bool requireUserAgent)
        : m_intervalMs(intervalMs), m_requireUserAgent(requireUserAgent)
    {
    }

    // Called once for every request, refused ones too, in the order they arrived: every
    // arrival counts towards the interval, as every request counts against a client's rate.
    std::optional<Refusal> check(const QString &userAgent, qint64 arrivedMs);

    static bool isWellFormedUserAgent(const QString &userAgent);

private:
    const int m_intervalMs;
    const bool m_requireUserAgent;
    std::mutex m_mutex;
    std::optional<qint64> m_previousArrivalMs;
};
