#pragma once

#include <QMap>
#include <QString>
#include <optional>

// The query of one received request, decoded, and its check against the service's
// signing rules: the same canonical query and string to sign that a client builds, keyed
// with the configured secret, and a timestamp of the shape yyyy-MM-ddTHH:mm:ssZ.
class SignedQuery {
public:
    enum class Verdict { Verified, UnknownAccessKey, SignatureMismatch };

    // target: the request target as received ("/onca/soap?A=1&B=2").
    static SignedQuery fromTarget(const std::string &target);

    // Every received parameter, "Signature" included, percent-decoded.
    const QMap<QString, QString> &parameters() const { return m_parameters; }
    std::optional<QString> value(const QString &key) const;

    // host: the Host header exactly as received; it is part of the signed text.
    Verdict verify(const QString &host, const QString &accessKey, const QString &secretKey) const;

private:
    QMap<QString, QString> m_parameters;
    bool m_repeatedKey = false;  // a repeated key cannot have been signed as one dictionary
};
