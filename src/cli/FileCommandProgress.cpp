#include "cli/FileCommandProgress.h"

#include "files/FileFailureNotification.h"

FileCommandProgress::FileCommandProgress()
    : m_failureCounter(QVFileFailedNotification,
                       [this](const QString &, const void *, const QVariantMap &) { ++m_failures; })
{
}
