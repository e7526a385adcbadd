#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// Why a fetch gave no usable answer.
enum class FetchFailure {
    None,
    NoHost,            // the URL names no host (or not the host libcurl would use): never sent
    NameLookup,        // the host name could not be resolved
    ConnectionRefused, // nothing listens at the host and port
    CouldNotConnect,   // any other failure to connect
    TimedOut,          // the connection or the whole answer took longer than allowed
    TooLarge,          // the body passed the size bound
    HeaderTooLarge,    // the answer's header passed its size bound
    HttpStatus,        // an answer came, but not with a 2xx status
    Transfer,          // any other failure on the way
};

// What one HTTP fetch brought back. A non-2xx answer keeps its body (within the size bound)
// because the service explains its refusals in it.
struct FetchResult {
    QByteArray body;
    long httpStatus = 0; // 0 when no answer came
    FetchFailure failure = FetchFailure::None;
    QString detail;      // the system's or libcurl's own words for a failure, may be empty
    qint64 retryAfterSeconds = 0; // how long the answer's Retry-After asks to wait; 0 without one
    qint64 boundBytes = 0; // the bound passed, for TooLarge and HeaderTooLarge
    // The host (and port) a redirect led to, whose answer or failure this is; empty when the
    // fetch was not redirected. Never with user information.
    QString redirectedHost;

    bool succeeded() const { return failure == FetchFailure::None; }
};

// How failures name the host of a URL: its host and port, never its user information.
inline QString shownHost(const QString &url)
{
    return QUrl(url).adjusted(QUrl::RemoveUserInfo).authority();
}

// How failures name a URL: as it is, without its user information.
inline QString shownUrl(const QString &url)
{
    const QUrl parsed(url);
    return parsed.userInfo().isEmpty() ? url : parsed.adjusted(QUrl::RemoveUserInfo).toString();
}
