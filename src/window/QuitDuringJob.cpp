#include "window/QuitDuringJob.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QWidget>

QuitDuringJob::QuitDuringJob(QWidget *window, std::function<bool()> jobRunning, std::function<void()> cancelJob)
    : QObject(window), m_window(window), m_jobRunning(std::move(jobRunning)), m_cancelJob(std::move(cancelJob))
{
}

bool QuitDuringJob::allowsClose()
{
    if (!m_jobRunning())
        return true;
    if (!m_quitConfirmed)
        ask();
    return false;
}

void QuitDuringJob::jobEnded()
{
    // Queued, so that the job's own end (its status line, its results) is shown first.
    if (m_quitConfirmed)
        QMetaObject::invokeMethod(m_window, &QWidget::close, Qt::QueuedConnection);
}

void QuitDuringJob::ask()
{
    if (m_question) {
        m_question->raise();
        return;
    }
    // Window-modal without a nested event loop: the job's progress keeps showing meanwhile.
    m_question = new QMessageBox(QMessageBox::Question, tr("Tagwright"), tr("Cancel the running job and quit?"),
                                 QMessageBox::Yes | QMessageBox::No, m_window);
    m_question->setObjectName(QStringLiteral("quitDuringJob"));
    m_question->setDefaultButton(QMessageBox::No);
    m_question->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_question, &QMessageBox::buttonClicked, this, [this](QAbstractButton *button) {
        if (m_question->standardButton(button) != QMessageBox::Yes)
            return;
        m_quitConfirmed = true;
        if (m_jobRunning())
            m_cancelJob();
        else
            jobEnded();
    });
    m_question->open();
}
