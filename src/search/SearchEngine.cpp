#include "search/SearchEngine.h"

#include "search/StringExtension.h"

#include <QDateTime>
#include <QMessageAuthenticationCode>
#include <algorithm>
#include <cstring>

namespace {

const QString requestPath = QStringLiteral("/onca/soap");

} // namespace

int stringByteSort(const QString &a, const QString &b, void *)
{
    const QByteArray left = a.toUtf8();
    const QByteArray right = b.toUtf8();
    const qsizetype common = std::min(left.size(), right.size());
    // memcmp compares as unsigned char, which is the byte order wanted here.
    const int byBytes = common ? std::memcmp(left.constData(), right.constData(), size_t(common)) : 0;
    if (byBytes != 0)
        return byBytes;
    return left.size() < right.size() ? -1 : (left.size() > right.size() ? 1 : 0);
}

QString SearchEngine::utcTimestamp()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDate date = now.date();
    const QTime time = now.time();
    // Formatted by hand so no locale can change the digits or the calendar.
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02dZ", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second());
}

QString SearchEngine::queryStringForParameterDictionary(const QMap<QString, QString> &parameters)
{
    QStringList keys = parameters.keys();
    std::sort(keys.begin(), keys.end(),
              [](const QString &a, const QString &b) { return stringByteSort(a, b, nullptr) < 0; });
    QStringList pairs;
    pairs.reserve(keys.size());
    for (const QString &key : keys)
        pairs.append(key + u'=' + stringByEscapingHTTPReserved(parameters.value(key)));
    return pairs.join(u'&');
}

QString SearchEngine::signatureInputForQueryString(const QString &queryString, const QString &host)
{
    return QStringLiteral("GET\n") + host + u'\n' + requestPath + u'\n' + queryString;
}

QString SearchEngine::makeSignature(const QString &secret, const QByteArray &data)
{
    const QByteArray digest =
        QMessageAuthenticationCode::hash(data, secret.toLatin1(), QCryptographicHash::Sha256);
    // 32 bytes always fit; no text only comes from an allocation that could not be had.
    return stringByEscapingHTTPReserved(base64Encoding(digest).value_or(QString()));
}
