#pragma once

#include "common/JobControl.h"

#include <QList>
#include <QStringList>

// A job control that keeps the status lines an operation gives it.
struct StatusRecorder {
    QStringList lines;
    JobControl control{{}, [this](const QString &line) { lines.append(line); }};
};

// The line a search gives out for each album it adds, for the first `count` albums.
inline QStringList entryStatusLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("New entry processed. %1 entries processed.").arg(i));
    return lines;
}
