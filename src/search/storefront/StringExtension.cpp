#include "search/storefront/StringExtension.h"

#include <QUrl>

#include <new>

std::optional<QString> base64Encoding(const QByteArray &bytes)
{
    try {
        return QString::fromLatin1(bytes.toBase64());   // standard alphabet, "=" padding
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

QString stringByEscapingHTTPReserved(const QString &text)
{
    // Qt keeps letters, digits and - . _ ~ and escapes the rest in upper-case hex; the
    // signature also keeps ! * ' ( ) as they are.
    return QString::fromLatin1(QUrl::toPercentEncoding(text, "!*'()"));
}
