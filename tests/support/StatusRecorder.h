#pragma once

#include "common/NotificationCenter.h"
#include "common/StatusNotification.h"

#include <QList>
#include <QStringList>

// The status lines posted while it lives, with their senders.
struct StatusRecorder {
    QStringList lines;
    QList<const void *> senders;
    ScopedObserver observer{QVStatusChangedNotification, [this](const QString &, const void *sender, const QVariantMap &info) {
                                lines.append(info.value(QVStatusKey).toString());
                                senders.append(sender);
                            }};
};

// The line a search posts for each album it adds, for the first `count` albums.
inline QStringList entryStatusLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("New entry processed. %1 entries processed.").arg(i));
    return lines;
}
