#pragma once

#include <QString>
#include <optional>

// A playing time as the tables show it, "m:ss"; nothing when unknown.
inline std::optional<QString> lengthText(std::optional<qint64> milliseconds)
{
    if (!milliseconds)
        return std::nullopt;
    const qint64 seconds = (*milliseconds + 500) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
