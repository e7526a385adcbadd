#pragma once

#include <QByteArray>
#include <QString>

// The error answers the service gives, in its own XML shapes: "no exact matches" inside a
// normal ItemSearchResponse (HTTP 200), and the top-level error answers for a wrong
// signature or an unknown access key (HTTP 403).
namespace ServiceAnswers {

QByteArray noExactMatches(const QString &keywords, const QString &page);
QByteArray signatureDoesNotMatch();
QByteArray invalidClientTokenId();

} // namespace ServiceAnswers
