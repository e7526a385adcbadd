#include "window/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

WindowPlacement::Placement WindowPlacement::placementIn(const QRect &available, const QSize &preferred,
                                                        const QSize &minimum)
{
    const QSize size = preferred.boundedTo(available.size() - frameAllowance).expandedTo(minimum);
    const QSize frame = size + frameAllowance;
    return {QPoint(available.x() + std::max(0, (available.width() - frame.width()) / 2),
                   available.y() + std::max(0, (available.height() - frame.height()) / 2)),
            size};
}

void WindowPlacement::placeOnScreen(QWidget &window, const QSize &preferred)
{
    const Placement placement =
        placementIn(window.screen()->availableGeometry(), preferred, window.minimumSizeHint().expandedTo(window.minimumSize()));
    window.resize(placement.size);
    window.move(placement.position);
}
