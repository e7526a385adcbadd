#include "search/ServiceConfig.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ServiceConfig, SettingsApplyAndTheEnvironmentWins)
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Service/AccessKey"), QStringLiteral("AKIASETTINGS00000000"));
    settings.setValue(QStringLiteral("Service/Host/de"), QStringLiteral("settings.example:81"));
    settings.setValue(QStringLiteral("Service/Host/fr"), QStringLiteral("fr.example"));
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("TAGWRIGHT_SECRET_KEY"), QStringLiteral("secret-from-env"));
    environment.insert(QStringLiteral("TAGWRIGHT_HOST_DE"), QStringLiteral("127.0.0.1:8089"));
    environment.insert(QStringLiteral("TAGWRIGHT_HOST_CO_UK"), QStringLiteral("uk.example"));
    environment.insert(QStringLiteral("TAGWRIGHT_HOST_COM"), QString()); // empty values do not count

    const ServiceConfig config = ServiceConfig::load(settings, environment);
    EXPECT_EQ(config.accessKey, QStringLiteral("AKIASETTINGS00000000"));
    EXPECT_EQ(config.secretKey, QStringLiteral("secret-from-env"));
    EXPECT_TRUE(config.credentialsConfigured);
    EXPECT_EQ(config.hosts, (QMap<QString, QString>{{"de", "127.0.0.1:8089"}, {"co.uk", "uk.example"},
                                                    {"fr", "fr.example"}, {"com", "webservices.amazon.com"}}));

    // Only one of the two credentials configured: the pair does not count as configured.
    QSettings empty(dir.filePath(QStringLiteral("empty.ini")), QSettings::IniFormat);
    QProcessEnvironment accessOnly;
    accessOnly.insert(QStringLiteral("TAGWRIGHT_ACCESS_KEY"), QStringLiteral("AKIAENV0000000000000"));
    const ServiceConfig half = ServiceConfig::load(empty, accessOnly);
    EXPECT_EQ(half.secretKey, ServiceConfig::placeholderSecretKey);
    EXPECT_FALSE(half.credentialsConfigured);
}
