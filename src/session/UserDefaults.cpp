#include "session/UserDefaults.h"

#include <QSettings>
#include <QVariantMap>
#include <mutex>

namespace {

QVariantMap &registeredDefaults()
{
    static QVariantMap defaults;
    return defaults;
}

QSettings userSettings()
{
    return QSettings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
}

} // namespace

void UserDefaults::registerDefaults()
{
    static std::once_flag once;
    std::call_once(once, [] { registeredDefaults().insert(QVRenamingMaskKey, QStringLiteral("%n - %t")); });
}

QVariant UserDefaults::value(const QString &key)
{
    registerDefaults();
    return userSettings().value(key, registeredDefaults().value(key));
}

void UserDefaults::setValue(const QString &key, const QVariant &value)
{
    userSettings().setValue(key, value);
}
