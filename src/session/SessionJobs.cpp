#include "session/SessionJobs.h"

SessionJobs::SessionJobs(std::function<void(bool running)> showRunning) : m_showRunning(std::move(showRunning))
{
    QObject::connect(&m_runner, &JobRunner::finished, &m_runner, [this] { finished(); });
}

void SessionJobs::finished()
{
    const std::function<void()> finish = std::exchange(m_finish, {});
    m_showRunning(false);
    if (finish)
        finish();
}
