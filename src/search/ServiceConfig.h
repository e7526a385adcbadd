#pragma once

#include <QList>
#include <QMap>
#include <QProcessEnvironment>
#include <QSettings>
#include <QString>
#include <QStringList>

// One value of the service configuration: the settings key it is stored under and the
// environment variable whose non-empty value wins over it.
struct ServiceSetting {
    QString settingsKey;         // e.g. "Service/Host/de"
    QString environmentVariable; // e.g. "TAGWRIGHT_HOST_DE"
};

// A regional storefront of the catalogue service.
struct Storefront {
    QString code;        // "de", "com", "co.uk" or "fr", as searches name it
    QString country;     // the country it sells to, for labels
    int buttonTag;       // the tag of the window's storefront button that chooses it
    QString defaultHost; // the service's own host for it
    ServiceSetting host; // where a user sets another host
};

// Where the album searches send their requests: for the storefronts one endpoint host per
// storefront code and the access key / signing secret pair; for MusicBrainz the base URLs of
// its web service and of the Cover Art Archive. Read from the settings and overridden by
// environment variables.
struct ServiceConfig {
    QString accessKey;                  // sent as "AWSAccessKeyId"
    QString secretKey;                  // the HMAC key; never sent
    QMap<QString, QString> hosts;       // storefront code ("de", "com", "co.uk", "fr") -> host, may carry ":port"
    bool credentialsConfigured = false; // access key and secret both came from the settings or the environment
    QString musicBrainzUrl = defaultMusicBrainzUrl; // scheme, host and optional port, no trailing "/"
    QString coverArtUrl = defaultCoverArtUrl;

    // Settings of organisation and application "Tagwright", then the environment.
    static ServiceConfig load();
    // The same from the given settings and environment.
    static ServiceConfig load(const QSettings &settings, const QProcessEnvironment &environment);
    // The four regional hosts of the service and placeholder credentials of the right shape.
    static ServiceConfig placeholders();

    // The storefronts in the order users are offered them: de, com, co.uk, fr.
    static const QList<Storefront> &storefronts();
    // The storefronts' codes in that order.
    static QStringList storefrontCodes();
    // Every value a user may configure: the two credentials, each storefront's host, then the
    // MusicBrainz and Cover Art Archive base URLs.
    static QList<ServiceSetting> allSettings();
    // The code of the storefront the window's button with this tag chooses, or "musicbrainz"
    // for the MusicBrainz button; empty for none.
    static QString storefrontCodeForButtonTag(int tag);
    static constexpr int musicBrainzButtonTag = 5;

    // Functions rather than constants, so that other files' static initialisers may use them.
    static ServiceSetting accessKeySetting();
    static ServiceSetting secretKeySetting();
    static ServiceSetting musicBrainzUrlSetting(); // "Service/MusicBrainzURL", TAGWRIGHT_MUSICBRAINZ_URL
    static ServiceSetting coverArtUrlSetting();    // "Service/CoverArtURL", TAGWRIGHT_COVERART_URL
    static const QString defaultMusicBrainzUrl;    // "https://musicbrainz.org"
    static const QString defaultCoverArtUrl;       // "https://coverartarchive.org"
    static const QString placeholderAccessKey; // "AKIA" and 16 upper-case letters and digits
    static const QString placeholderSecretKey; // 40 characters of the Base64 alphabet
};
