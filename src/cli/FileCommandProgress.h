#pragma once

#include "cli/StatusLinePrinter.h"
#include "common/NotificationCenter.h"

// While a file command runs: prints its status lines as they are posted and counts the
// files it could not change as asked (a damaged tag, a failed write or move), which fail
// the command as a whole.
class FileCommandProgress {
public:
    FileCommandProgress();
    int failures() const { return m_failures; }

private:
    StatusLinePrinter m_status;
    int m_failures = 0;
    ScopedObserver m_failureCounter;
};
