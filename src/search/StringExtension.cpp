#include "search/StringExtension.h"

#include <limits>
#include <new>

namespace {

constexpr char encodingTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool isKeptUnescaped(unsigned char byte)
{
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9'))
        return true;
    switch (byte) {
    case '-': case '_': case '.': case '!': case '~': case '*': case '\'': case '(': case ')':
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<QString> base64Encoding(const QByteArray &bytes)
{
    const qsizetype n = bytes.size();
    if (n == 0)
        return QString();

    const qsizetype groups = n / 3 + (n % 3 ? 1 : 0);
    if (groups > std::numeric_limits<qsizetype>::max() / 8)
        return std::nullopt;
    QString out;
    try {
        out.resize(groups * 4);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }

    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    QChar *dst = out.data();
    for (qsizetype i = 0; i < n; i += 3) {
        const qsizetype left = n - i;
        const unsigned b1 = in[i];
        const unsigned b2 = left > 1 ? in[i + 1] : 0;
        const unsigned b3 = left > 2 ? in[i + 2] : 0;
        *dst++ = QLatin1Char(encodingTable[b1 >> 2]);
        *dst++ = QLatin1Char(encodingTable[((b1 & 0x03) << 4) | (b2 >> 4)]);
        *dst++ = left > 1 ? QLatin1Char(encodingTable[((b2 & 0x0f) << 2) | (b3 >> 6)]) : QLatin1Char('=');
        *dst++ = left > 2 ? QLatin1Char(encodingTable[b3 & 0x3f]) : QLatin1Char('=');
    }
    return out;
}

QString stringByEscapingHTTPReserved(const QString &text)
{
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    QString out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (isKeptUnescaped(byte)) {
            out.append(QLatin1Char(c));
        } else {
            out.append(QLatin1Char('%'));
            out.append(QLatin1Char(hexDigits[byte >> 4]));
            out.append(QLatin1Char(hexDigits[byte & 0x0f]));
        }
    }
    return out;
}
