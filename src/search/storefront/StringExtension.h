#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Text encodings used when signing service requests: standard Base64 (RFC 4648, section 4)
// and the percent-escaping of query values.

// Base64 with the standard alphabet, "=" padding and no line breaks; the empty text for no
// bytes, and no text when the output buffer cannot be had.
std::optional<QString> base64Encoding(const QByteArray &bytes);

// Escapes every UTF-8 byte of the text as "%XX" (upper-case hex) except ASCII letters, digits
// and the marks - _ . ! ~ * ' ( ). Spaces become %20, never "+".
QString stringByEscapingHTTPReserved(const QString &text);
