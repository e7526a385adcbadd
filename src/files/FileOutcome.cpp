#include "files/FileOutcome.h"

QStringList FileOutcome::failureLines() const
{
    QStringList lines;
    for (const FileFailure &failure : failures)
        lines.append(QStringLiteral("%1: %2").arg(failure.path, failure.reason));
    return lines;
}
