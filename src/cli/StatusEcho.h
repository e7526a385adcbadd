#pragma once

#include "common/NotificationCenter.h"

// While it lives, prints every status line to standard error as it is posted, and counts
// the files that the file handler reports it could not change (for the exit status).
class StatusEcho {
public:
    StatusEcho();
    int failedFiles() const { return m_failedFiles; }

private:
    int m_failedFiles = 0;
    ScopedObserver m_statusObserver;
    ScopedObserver m_failureObserver;
};
