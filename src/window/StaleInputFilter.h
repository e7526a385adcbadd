#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <optional>

// Drops the clicks and keys a user made while a command held the window's thread. The window
// system queues them and hands them over once the command returns; replayed then, a second
// click on a button that seemed not to react runs its command a second time.
//
// Input events carry the window system's time, whose clock is not ours: the newest input
// event let through and the moment it arrived tie the two together, so the end of a command
// can be told in the window system's time.
class StaleInputFilter : public QObject {
public:
    explicit StaleInputFilter(QObject *parent = nullptr);

    // Runs one command; input made before it returned is dropped from then on.
    void run(const std::function<void()> &command);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<quint64> m_lastInputTime;
    QElapsedTimer m_sinceLastInput;
    std::optional<quint64> m_lastCommandEnd;
};
