#include "cli/StatusEcho.h"

#include "common/StatusNotification.h"
#include "files/FileFailureNotification.h"

#include <cstdio>

StatusEcho::StatusEcho()
    : m_statusObserver(QVStatusChangedNotification,
                       [](const QString &, const void *, const QVariantMap &userInfo) {
                           std::fprintf(stderr, "%s\n", userInfo.value(QVStatusKey).toString().toLocal8Bit().constData());
                           std::fflush(stderr);
                       }),
      m_failureObserver(QVFileFailedNotification,
                        [this](const QString &, const void *, const QVariantMap &) { ++m_failedFiles; })
{
}
