#include "search/ServiceConfig.h"

#include <array>

const QString ServiceConfig::placeholderAccessKey = QStringLiteral("AKIAPLACEHOLDER00000");
const QString ServiceConfig::placeholderSecretKey = QStringLiteral("PlaceholderSecretKeyForTagwrightDemo0000");

namespace {

struct HostKeys {
    const char *code;
    const char *settingsKey;
    const char *environmentVariable;
    const char *defaultHost;
};

constexpr std::array<HostKeys, 4> hostKeys{{
    {"de", "Service/Host/de", "TAGWRIGHT_HOST_DE", "webservices.amazon.de"},
    {"com", "Service/Host/com", "TAGWRIGHT_HOST_COM", "webservices.amazon.com"},
    {"co.uk", "Service/Host/co.uk", "TAGWRIGHT_HOST_CO_UK", "webservices.amazon.co.uk"},
    {"fr", "Service/Host/fr", "TAGWRIGHT_HOST_FR", "webservices.amazon.fr"},
}};

// The environment's non-empty value wins, then a non-empty setting; otherwise the value
// stays as it was. Returns whether one of the two supplied it.
bool override(QString &value, const QSettings &settings, const char *settingsKey,
              const QProcessEnvironment &environment, const char *variable)
{
    const QString fromEnvironment = environment.value(QLatin1String(variable));
    if (!fromEnvironment.isEmpty()) {
        value = fromEnvironment;
        return true;
    }
    const QString fromSettings = settings.value(QLatin1String(settingsKey)).toString();
    if (!fromSettings.isEmpty()) {
        value = fromSettings;
        return true;
    }
    return false;
}

} // namespace

ServiceConfig ServiceConfig::placeholders()
{
    ServiceConfig config;
    config.accessKey = placeholderAccessKey;
    config.secretKey = placeholderSecretKey;
    for (const HostKeys &keys : hostKeys)
        config.hosts.insert(QLatin1String(keys.code), QLatin1String(keys.defaultHost));
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
    const bool accessKeySet = override(config.accessKey, settings, "Service/AccessKey", environment,
                                       "TAGWRIGHT_ACCESS_KEY");
    const bool secretKeySet = override(config.secretKey, settings, "Service/SecretKey", environment,
                                       "TAGWRIGHT_SECRET_KEY");
    config.credentialsConfigured = accessKeySet && secretKeySet;
    for (const HostKeys &keys : hostKeys)
        override(config.hosts[QLatin1String(keys.code)], settings, keys.settingsKey, environment,
                 keys.environmentVariable);
    return config;
}
