#pragma once

#include <QMap>
#include <QProcessEnvironment>
#include <QSettings>
#include <QString>

// Where the album search sends its requests and with which credentials: one endpoint host
// per storefront code and the access key / signing secret pair, read from the settings and
// overridden by environment variables.
struct ServiceConfig {
    QString accessKey;                  // sent as "AWSAccessKeyId"
    QString secretKey;                  // the HMAC key; never sent
    QMap<QString, QString> hosts;       // storefront code ("de", "com", "co.uk", "fr") -> host, may carry ":port"
    bool credentialsConfigured = false; // access key and secret both came from the settings or the environment

    // Settings of organisation and application "Tagwright", then the environment.
    static ServiceConfig load();
    // The same from the given settings and environment.
    static ServiceConfig load(const QSettings &settings, const QProcessEnvironment &environment);
    // The four regional hosts of the service and placeholder credentials of the right shape.
    static ServiceConfig placeholders();

    static const QString placeholderAccessKey; // "AKIA" and 16 upper-case letters and digits
    static const QString placeholderSecretKey; // 40 characters of the Base64 alphabet
};
