#include "session/HistoryReader.h"

HistoryReader::HistoryReader(Finished finished) : m_finished(std::move(finished))
{
    QObject::connect(&m_runner, &JobRunner::finished, &m_runner, [this] { this->finished(); });
}

void HistoryReader::read(const Journal &journal)
{
    if (m_runner.isBusy()) {
        m_waiting = journal;
        return;
    }
    m_history = std::make_shared<QList<EntryFile::Contents>>();
    m_runner.start([history = m_history, journal](JobControl &) { *history = journal.history(); });
}

void HistoryReader::waitForFinished()
{
    while (m_runner.isBusy())
        m_runner.waitForFinished();
}

void HistoryReader::finished()
{
    const std::shared_ptr<QList<EntryFile::Contents>> history = std::exchange(m_history, nullptr);
    if (m_waiting) {
        const Journal journal = *std::exchange(m_waiting, std::nullopt);
        return read(journal);
    }
    if (history)
        m_finished(*history);
}
