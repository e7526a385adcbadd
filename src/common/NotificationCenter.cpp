#include "common/NotificationCenter.h"

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const QString &name, Handler handler)
{
    std::lock_guard lock(m_mutex);
    const Token token = m_nextToken++;
    m_observers.push_back({token, name, std::make_shared<Handler>(std::move(handler))});
    return token;
}

void NotificationCenter::removeObserver(Token token)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_observers, [token](const Observer &o) { return o.token == token; });
}

void NotificationCenter::post(const QString &name, const void *sender, const QVariantMap &userInfo)
{
    // Copy the matching handlers first: an observer may add or remove observers while it runs.
    std::vector<std::shared_ptr<Handler>> handlers;
    {
        std::lock_guard lock(m_mutex);
        for (const Observer &o : m_observers) {
            if (o.name == name)
                handlers.push_back(o.handler);
        }
    }
    for (const auto &handler : handlers)
        (*handler)(name, sender, userInfo);
}

ScopedObserver::ScopedObserver(const QString &name, NotificationCenter::Handler handler,
                               NotificationCenter &center)
    : m_center(center), m_token(center.addObserver(name, std::move(handler)))
{
}

ScopedObserver::~ScopedObserver()
{
    m_center.removeObserver(m_token);
}
