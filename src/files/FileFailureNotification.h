#pragma once

#include <QString>

// Posted by the file handler, besides its status line, for each file it could not change,
// so that a front end can count the failures (the command line sets its exit status by it).
// User info: the file's path under "path", and under "reason" what went wrong and what
// became of the file, in plain words.
inline const QString QVFileFailedNotification = QStringLiteral("QVFileFailed");
inline const QString QVFailedPathKey = QStringLiteral("path");
inline const QString QVFailureReasonKey = QStringLiteral("reason");

// Posts the notification on the default centre with the given sender.
void postFileFailure(const void *sender, const QString &path, const QString &reason);
