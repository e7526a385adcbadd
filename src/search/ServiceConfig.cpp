#include "search/ServiceConfig.h"

#include "search/musicbrainz/MusicBrainzService.h"

ServiceSetting ServiceConfig::accessKeySetting()
{
    return {QStringLiteral("Service/AccessKey"), QStringLiteral("TAGWRIGHT_ACCESS_KEY")};
}

ServiceSetting ServiceConfig::secretKeySetting()
{
    return {QStringLiteral("Service/SecretKey"), QStringLiteral("TAGWRIGHT_SECRET_KEY")};
}

ServiceSetting ServiceConfig::musicBrainzUrlSetting()
{
    return {QStringLiteral("Service/MusicBrainzURL"), QStringLiteral("TAGWRIGHT_MUSICBRAINZ_URL")};
}

ServiceSetting ServiceConfig::coverArtUrlSetting()
{
    return {QStringLiteral("Service/CoverArtURL"), QStringLiteral("TAGWRIGHT_COVERART_URL")};
}

const QString ServiceConfig::defaultMusicBrainzUrl = QStringLiteral("https://musicbrainz.org");
const QString ServiceConfig::defaultCoverArtUrl = QStringLiteral("https://coverartarchive.org");
const QString ServiceConfig::placeholderAccessKey = QStringLiteral("AKIAPLACEHOLDER00000");
const QString ServiceConfig::placeholderSecretKey = QStringLiteral("PlaceholderSecretKeyForTagwrightDemo0000");

namespace {

Storefront storefront(const char *code, const char *country, int buttonTag, const char *environmentSuffix)
{
    const QString codeText = QLatin1String(code);
    return {codeText, QLatin1String(country), buttonTag, QStringLiteral("webservices.amazon.") + codeText,
            {QStringLiteral("Service/Host/") + codeText,
             QStringLiteral("TAGWRIGHT_HOST_") + QLatin1String(environmentSuffix)}};
}

// The environment's non-empty value wins, then a non-empty setting; otherwise the value
// stays as it was. Returns whether one of the two supplied it.
bool override(QString &value, const QSettings &settings, const QProcessEnvironment &environment,
              const ServiceSetting &setting)
{
    const QString fromEnvironment = environment.value(setting.environmentVariable);
    if (!fromEnvironment.isEmpty()) {
        value = fromEnvironment;
        return true;
    }
    const QString fromSettings = settings.value(setting.settingsKey).toString();
    if (!fromSettings.isEmpty()) {
        value = fromSettings;
        return true;
    }
    return false;
}

} // namespace

const QList<Storefront> &ServiceConfig::storefronts()
{
    static const QList<Storefront> all{
        storefront("de", "Germany", 1, "DE"),
        storefront("com", "United States", 4, "COM"),
        storefront("co.uk", "United Kingdom", 2, "CO_UK"),
        storefront("fr", "France", 3, "FR"),
    };
    return all;
}

QStringList ServiceConfig::storefrontCodes()
{
    QStringList codes;
    for (const Storefront &store : storefronts())
        codes.append(store.code);
    return codes;
}

QList<ServiceSetting> ServiceConfig::allSettings()
{
    QList<ServiceSetting> settings{accessKeySetting(), secretKeySetting()};
    for (const Storefront &store : storefronts())
        settings.append(store.host);
    settings.append(musicBrainzUrlSetting());
    settings.append(coverArtUrlSetting());
    return settings;
}

QString ServiceConfig::storefrontCodeForButtonTag(int tag)
{
    if (tag == musicBrainzButtonTag)
        return MusicBrainzService::code();
    for (const Storefront &store : storefronts())
        if (store.buttonTag == tag)
            return store.code;
    return QString();
}

ServiceConfig ServiceConfig::placeholders()
{
    ServiceConfig config;
    config.accessKey = placeholderAccessKey;
    config.secretKey = placeholderSecretKey;
    for (const Storefront &store : storefronts())
        config.hosts.insert(store.code, store.defaultHost);
    return config;
}

ServiceConfig ServiceConfig::load()
{
    const QSettings settings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
    return load(settings, QProcessEnvironment::systemEnvironment());
}

ServiceConfig ServiceConfig::load(const QSettings &settings, const QProcessEnvironment &environment)
{
    ServiceConfig config = placeholders();
    const bool accessKeySet = override(config.accessKey, settings, environment, accessKeySetting());
    const bool secretKeySet = override(config.secretKey, settings, environment, secretKeySetting());
    config.credentialsConfigured = accessKeySet && secretKeySet;
    for (const Storefront &store : storefronts())
        override(config.hosts[store.code], settings, environment, store.host);
    override(config.musicBrainzUrl, settings, environment, musicBrainzUrlSetting());
    override(config.coverArtUrl, settings, environment, coverArtUrlSetting());
    return config;
}
