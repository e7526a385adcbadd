#include "catalogue/SignedQuery.h"

#include "search/storefront/SearchEngine.h"

#include <QByteArray>
#include <QRegularExpression>

namespace {

const QString signatureKey = QStringLiteral("Signature");

QString decoded(const QByteArray &text)
{
    // "+" stays a plus sign: clients escape a space as %20, and a signed value is compared
    // byte for byte after decoding.
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

} // namespace

SignedQuery SignedQuery::fromTarget(const std::string &target)
{
    SignedQuery query;
    const QByteArray raw = QByteArray::fromStdString(target);
    const qsizetype mark = raw.indexOf('?');
    if (mark < 0)
        return query;
    for (const QByteArray &pair : raw.mid(mark + 1).split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        const QString key = decoded(equals < 0 ? pair : pair.left(equals));
        const QString value = equals < 0 ? QString() : decoded(pair.mid(equals + 1));
        if (query.m_parameters.contains(key))
            query.m_repeatedKey = true;
        query.m_parameters.insert(key, value);
    }
    return query;
}

std::optional<QString> SignedQuery::value(const QString &key) const
{
    const auto found = m_parameters.constFind(key);
    if (found == m_parameters.constEnd())
        return std::nullopt;
    return *found;
}

SignedQuery::Verdict SignedQuery::verify(const QString &host, const QString &accessKey,
                                         const QString &secretKey) const
{
    if (value(QStringLiteral("AWSAccessKeyId")) != accessKey)
        return Verdict::UnknownAccessKey;

    static const QRegularExpression timestampShape(
        QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$"));
    const std::optional<QString> timestamp = value(QStringLiteral("Timestamp"));
    const std::optional<QString> received = value(signatureKey);
    if (m_repeatedKey || !timestamp || !timestampShape.match(*timestamp).hasMatch() || !received)
        return Verdict::SignatureMismatch;

    QMap<QString, QString> signedParameters = m_parameters;
    signedParameters.remove(signatureKey);
    const QString queryString = SearchEngine::queryStringForParameterDictionary(signedParameters);
    const QString input = SearchEngine::signatureInputForQueryString(queryString, host);
    const QString expected = SearchEngine::makeSignature(secretKey, input.toLatin1());
    // Both sides decoded, so a client that escapes with lower-case hex digits still matches.
    return decoded(expected.toLatin1()) == *received ? Verdict::Verified : Verdict::SignatureMismatch;
}
