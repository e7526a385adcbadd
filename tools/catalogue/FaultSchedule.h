#pragma once

#include "catalogue/AnswerFault.h"

#include <QHash>
#include <QString>
#include <mutex>
#include <optional>

// Decides, request by request, whether an answer's .fault file strikes. A fault limited to
// "times N" strikes for the first N requests of its answer during this server run and
// then lets the real answer through; the count is kept per fault file.
class FaultSchedule {
public:
    // The fault to apply to this request, given the answer's .fault file (nothing when there
    // is none). An unreadable or unknown fault is reported once per request and ignored.
    std::optional<AnswerFault> faultFor(const std::optional<QString> &faultFile);

private:
    std::mutex m_mutex;
    QHash<QString, int> m_struck;  // fault file -> requests it has answered so far
};
