#pragma once

#include <QByteArray>
#include <QString>

// Why a fetch gave no usable answer.
enum class FetchFailure {
    None,
    NoHost,            // the URL names no host (or not the host libcurl would use): never sent
    NameLookup,        // the host name could not be resolved
    ConnectionRefused, // nothing listens at the host and port
    CouldNotConnect,   // any other failure to connect
    TimedOut,          // the connection or the whole answer took longer than allowed
    TooLarge,          // the body passed the size bound
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

    bool succeeded() const { return failure == FetchFailure::None; }
};
