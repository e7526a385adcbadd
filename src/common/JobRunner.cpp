#include "common/JobRunner.h"

#include <QCoreApplication>
#include <QDebug>
#include <exception>

JobRunner::JobRunner(QObject *parent) : QObject(parent)
{
}

JobRunner::~JobRunner()
{
    cancel();
    joinWorker();
}

bool JobRunner::start(Job job)
{
    if (m_busy)
        return false;
    joinWorker(); // the last job's thread has returned, but may not have been joined
    m_busy = true;
    m_control = std::make_shared<JobControl>([this](qint64 done, qint64 total) {
        QMetaObject::invokeMethod(this, [this, done, total] { emit progressChanged(done, total); },
                                  Qt::QueuedConnection);
    }, [this](const QString &line) { emit statusReported(line); });
    m_worker = std::thread([this, control = m_control, job = std::move(job)] {
        try {
            job(*control);
        } catch (const std::exception &failure) {
            // A job reports its failures in its result; this is a fault, kept off the window.
            qWarning().noquote() << QStringLiteral("JobRunner: the job failed: %1").arg(QString::fromUtf8(failure.what()));
        }
        QMetaObject::invokeMethod(this, [this] {
            m_busy = false;
            emit finished();
        }, Qt::QueuedConnection);
    });
    return true;
}

void JobRunner::cancel()
{
    if (m_busy && m_control)
        m_control->requestCancel();
}

void JobRunner::waitForFinished()
{
    joinWorker();
    // The job's queued calls and signals, to this runner and to its receivers alike, in their order.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

void JobRunner::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}
