#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where a window opens: at its preferred size where the screen has room, cut down to the
// screen's available area where it has not (as with a large scale factor), never below the
// minimum its layout needs, and centred in that area.
class WindowPlacement {
public:
    // The frame's top-left corner and the size of the window inside its frame.
    struct Placement {
        QPoint position;
        QSize size;
    };

    // The window manager's frame is unknown until the window is shown; this much room is
    // left for a title bar and borders.
    static constexpr QSize frameAllowance{16, 40};

    static Placement placementIn(const QRect &available, const QSize &preferred, const QSize &minimum);
    // Gives the window its placement on the screen it will appear on.
    static void placeOnScreen(QWidget &window, const QSize &preferred);
};
