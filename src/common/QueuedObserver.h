#pragma once

#include "common/NotificationCenter.h"

#include <memory>
#include <mutex>

class QObject;

// Observes a notification on behalf of an object that lives on another thread (a window
// listening to a job on the worker): a post on any other thread reaches the handler on the
// receiver's thread, queued, in posting order; a post on the receiver's thread runs it at once.
// The receiver outlives the observer (the observer is usually its member). Once the observer
// is destroyed (on the receiver's thread) the handler never runs again, not
// even for posts already queued. The sender pointer only tells senders apart: by the time the
// handler runs, the sender may be gone.
class QueuedObserver {
public:
    QueuedObserver(const QString &name, QObject *receiver, NotificationCenter::Handler handler,
                   NotificationCenter &center = NotificationCenter::defaultCenter());
    ~QueuedObserver();
    QueuedObserver(const QueuedObserver &) = delete;
    QueuedObserver &operator=(const QueuedObserver &) = delete;

private:
    struct Target {
        std::mutex mutex;        // held while a post is handed to the receiver's thread
        QObject *receiver = nullptr;
        NotificationCenter::Handler handler;
        bool active = true;
    };
    static void forward(const std::shared_ptr<Target> &target, const QString &name, const void *sender,
                        const QVariantMap &userInfo);

    std::shared_ptr<Target> m_target;
    NotificationCenter &m_center;
    NotificationCenter::Token m_token;
};
