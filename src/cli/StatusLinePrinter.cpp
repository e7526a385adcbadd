#include "cli/StatusLinePrinter.h"

#include "common/StatusNotification.h"

#include <cstdio>

StatusLinePrinter::StatusLinePrinter()
    : m_observer(QVStatusChangedNotification, [](const QString &, const void *, const QVariantMap &info) {
          std::fprintf(stderr, "%s\n", info.value(QVStatusKey).toString().toLocal8Bit().constData());
          std::fflush(stderr);
      })
{
}
