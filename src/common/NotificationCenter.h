#pragma once

#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// A small synchronous notification centre: observers subscribe to a name and run inside
// post(), on the posting thread, before post() returns. The search and the file handler
// report progress through it; the window and the command line listen. Any thread may post,
// add and remove observers at once; a handler removed while another thread's post is running
// it may still finish that call, so an object on another thread than the poster observes
// through a QueuedObserver.
class NotificationCenter {
public:
    using Handler = std::function<void(const QString &name, const void *sender, const QVariantMap &userInfo)>;
    using Token = quint64;

    // The application's one default centre.
    static NotificationCenter &defaultCenter();

    // Subscribes a handler to one notification name; the token removes it again.
    Token addObserver(const QString &name, Handler handler);
    void removeObserver(Token token);

    void post(const QString &name, const void *sender, const QVariantMap &userInfo);

private:
    struct Observer {
        Token token;
        QString name;
        std::shared_ptr<Handler> handler;
    };
    std::mutex m_mutex;
    std::vector<Observer> m_observers;
    Token m_nextToken = 1;
};

// Removes its observer when it goes out of scope, so a listener never outlives its owner.
class ScopedObserver {
public:
    ScopedObserver(const QString &name, NotificationCenter::Handler handler,
                   NotificationCenter &center = NotificationCenter::defaultCenter());
    ~ScopedObserver();
    ScopedObserver(const ScopedObserver &) = delete;
    ScopedObserver &operator=(const ScopedObserver &) = delete;

private:
    NotificationCenter &m_center;
    NotificationCenter::Token m_token;
};
