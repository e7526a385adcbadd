#include "session/FileFactsReader.h"

FileFactsReader::FileFactsReader(Finished finished) : m_finished(std::move(finished))
{
    QObject::connect(&m_runner, &JobRunner::finished, &m_runner, [this] { this->finished(); });
}

void FileFactsReader::read(const QStringList &files, const QString &mask)
{
    m_waiting = Request{files, mask};
    if (m_runner.isBusy())
        m_runner.cancel();
    else
        startWaiting();
}

void FileFactsReader::waitForFinished()
{
    while (m_runner.isBusy() || m_waiting)
        m_runner.waitForFinished();
}

void FileFactsReader::startWaiting()
{
    const Request request = std::move(*m_waiting);
    m_waiting.reset();
    m_facts = std::make_shared<FileFacts>();
    m_runner.start([facts = m_facts, request](JobControl &control) {
        *facts = FileFacts::read(request.files, request.mask, &control);
    });
}

void FileFactsReader::finished()
{
    const std::shared_ptr<FileFacts> facts = std::exchange(m_facts, nullptr);
    if (m_waiting)
        return startWaiting();
    if (facts)
        m_finished(*facts);
}
