#include "files/FileFailureNotification.h"

#include "common/NotificationCenter.h"

void postFileFailure(const void *sender, const QString &path, const QString &reason)
{
    NotificationCenter::defaultCenter().post(QVFileFailedNotification, sender,
                                             {{QVFailedPathKey, path}, {QVFailureReasonKey, reason}});
}
