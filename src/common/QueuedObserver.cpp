#include "common/QueuedObserver.h"

#include <QObject>
#include <QThread>

QueuedObserver::QueuedObserver(const QString &name, QObject *receiver, NotificationCenter::Handler handler,
                               NotificationCenter &center)
    : m_target(std::make_shared<Target>()), m_center(center)
{
    m_target->receiver = receiver;
    m_target->handler = std::move(handler);
    m_token = center.addObserver(name, [target = m_target](const QString &name, const void *sender,
                                                           const QVariantMap &userInfo) {
        forward(target, name, sender, userInfo);
    });
}

QueuedObserver::~QueuedObserver()
{
    {
        // Waits for a post being handed over right now; later ones and queued ones see this.
        std::lock_guard lock(m_target->mutex);
        m_target->active = false;
    }
    m_center.removeObserver(m_token);
}

void QueuedObserver::forward(const std::shared_ptr<Target> &target, const QString &name, const void *sender,
                             const QVariantMap &userInfo)
{
    std::unique_lock lock(target->mutex);
    if (!target->active)
        return;
    if (target->receiver->thread() == QThread::currentThread()) {
        // Unlocked: the handler may itself post, or destroy this observer.
        lock.unlock();
        target->handler(name, sender, userInfo);
        return;
    }
    // Runs after every call queued to the receiver's thread before it, and not at all once
    // the observer is gone: the destructor clears `active` on that very thread.
    QMetaObject::invokeMethod(target->receiver, [target, name, sender, userInfo] {
        if (target->active)
            target->handler(name, sender, userInfo);
    }, Qt::QueuedConnection);
}
