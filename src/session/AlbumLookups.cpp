#include "session/AlbumLookups.h"

AlbumLookups::AlbumLookups(Finished finished) : m_finished(std::move(finished))
{
    QObject::connect(&m_runner, &JobRunner::finished, &m_runner, [this] { this->finished(); });
}

void AlbumLookups::lookUp(std::shared_ptr<ResultEntry> album, Session::Work<LookupOutcome> work)
{
    m_waiting = Request{std::move(album), std::move(work)};
    if (m_runner.isBusy()) {
        m_superseded = true;
        m_runner.cancel();
        return;
    }
    startWaiting();
}

bool AlbumLookups::isLookingUp(const ResultEntry *album) const
{
    if (m_waiting)
        return m_waiting->album.get() == album;
    return m_runner.isBusy() && !m_superseded && m_running.get() == album;
}

void AlbumLookups::whenIdle(std::function<void()> then)
{
    if (!m_runner.isBusy() && !m_waiting)
        return then();
    m_whenIdle = std::move(then);
}

void AlbumLookups::cancelAll()
{
    m_waiting.reset();
    m_whenIdle = nullptr;
    if (m_runner.isBusy()) {
        m_superseded = true;
        m_runner.cancel();
    }
}

void AlbumLookups::startWaiting()
{
    Request request = std::move(*m_waiting);
    m_waiting.reset();
    m_superseded = false;
    m_running = std::move(request.album);
    m_outcome = std::make_shared<LookupOutcome>();
    m_runner.start([outcome = m_outcome, work = std::move(request.work)](JobControl &control) {
        *outcome = work(control);
    });
}

void AlbumLookups::finished()
{
    const std::shared_ptr<ResultEntry> album = std::exchange(m_running, nullptr);
    const std::shared_ptr<LookupOutcome> outcome = std::exchange(m_outcome, nullptr);
    if (!m_superseded && album && outcome)
        m_finished(album, *outcome);
    if (m_waiting)
        return startWaiting();
    if (std::function<void()> then = std::exchange(m_whenIdle, nullptr))
        then();
}
