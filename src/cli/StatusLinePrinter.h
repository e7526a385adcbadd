#pragma once

#include "common/NotificationCenter.h"

// Prints every status line posted while it lives to standard error, as it is posted, so a
// long command shows its progress.
class StatusLinePrinter {
public:
    StatusLinePrinter();

private:
    ScopedObserver m_observer;
};
