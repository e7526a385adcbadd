#include "common/StatusNotification.h"

#include "common/NotificationCenter.h"

void postStatusChange(const void *sender, const QString &message)
{
    NotificationCenter::defaultCenter().post(QVStatusChangedNotification, sender,
                                             QVariantMap{{QVStatusKey, message}});
}
