#include "cli/StatusLinePrinter.h"

#include "session/Session.h"

#include <cstdio>

StatusLinePrinter::StatusLinePrinter(const Session &session)
    : m_connection(QObject::connect(&session, &Session::statusChanged, [](const QString &line) {
          std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
          std::fflush(stderr);
      }))
{
}

StatusLinePrinter::~StatusLinePrinter()
{
    QObject::disconnect(m_connection);
}
