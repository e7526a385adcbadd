#pragma once

#include <QObject>

class Session;

// Prints every status line the session gives out while it lives to standard error, as it is
// given out, so a long command shows its progress.
class StatusLinePrinter {
public:
    explicit StatusLinePrinter(const Session &session);
    ~StatusLinePrinter();
    StatusLinePrinter(const StatusLinePrinter &) = delete;
    StatusLinePrinter &operator=(const StatusLinePrinter &) = delete;

private:
    QMetaObject::Connection m_connection;
};
