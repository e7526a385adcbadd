#pragma once

#include <QString>
#include <QVariant>

// The user-defaults key of the renaming mask.
inline const QString QVRenamingMaskKey = QStringLiteral("LastUserRenamingMask");

// The user's stored settings, each falling back to the value registered for it.
class UserDefaults {
public:
    // Registers the defaults ("LastUserRenamingMask" = "%n - %t"); runs once.
    static void registerDefaults();
    // The stored value, else the registered one.
    static QVariant value(const QString &key);
    static void setValue(const QString &key, const QVariant &value);
};
