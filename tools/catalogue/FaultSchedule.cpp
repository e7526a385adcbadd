#include "catalogue/FaultSchedule.h"

#include <QFile>

std::optional<AnswerFault> FaultSchedule::faultFor(const std::optional<QString> &faultFile)
{
    if (!faultFile)
        return std::nullopt;
    QFile file(*faultFile);
    std::optional<AnswerFault> fault = file.open(QIODevice::ReadOnly) ? AnswerFault::parse(file.readAll()) : std::nullopt;
    if (!fault) {
        qWarning("tagwright-catalogue: %s names no known fault (hang, close, garbage, huge, status N [retry-after S], "
                 "each optionally followed by times N); "
                 "the answer is served normally", qPrintable(*faultFile));
        return std::nullopt;
    }
    if (!fault->times())
        return fault;
    std::lock_guard lock(m_mutex);
    int &struck = m_struck[*faultFile];
    if (struck >= *fault->times())
        return std::nullopt;
    ++struck;
    return fault;
}
