#pragma once

#include <QString>

// The progress notification posted by the search and the file handler: its name, and the
// user-info key under which the message text travels.
inline const QString QVStatusChangedNotification = QStringLiteral("QVStatusChanged");
inline const QString QVStatusKey = QStringLiteral("status");

// Posts a status message on the default centre with the given sender.
void postStatusChange(const void *sender, const QString &message);
