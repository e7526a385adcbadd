#include "window/StaleInputFilter.h"

#include <QEvent>
#include <QInputEvent>

namespace {

bool isClickOrKey(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

// Window-system times count milliseconds in 32 bits on some systems and wrap around, so
// they are compared by their difference.
bool notAfter(quint64 time, quint64 reference)
{
    return static_cast<qint32>(static_cast<quint32>(time - reference)) <= 0;
}

} // namespace

StaleInputFilter::StaleInputFilter(QObject *parent) : QObject(parent) {}

void StaleInputFilter::run(const std::function<void()> &command)
{
    command();
    if (m_lastInputTime)
        m_lastCommandEnd = *m_lastInputTime + quint64(m_sinceLastInput.elapsed());
}

bool StaleInputFilter::eventFilter(QObject *, QEvent *event)
{
    if (!isClickOrKey(event->type()))
        return false;
    const quint64 time = static_cast<QInputEvent *>(event)->timestamp();
    // Events without a time were made by the program, not by the user.
    if (time == 0)
        return false;
    if (m_lastCommandEnd && notAfter(time, *m_lastCommandEnd)) {
        // An accepted shortcut override keeps the key from triggering a shortcut or mnemonic.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        return true;
    }
    m_lastInputTime = time;
    m_sinceLastInput.start();
    return false;
}
