#pragma once

#include <QString>

class MainWindow;

// Sets the window up as a user would have it mid-way through (a search of the demo
// catalogue, an album chosen, a few generated MP3 files listed and tagged) and saves a
// 1280x800 picture of it, so the window can be looked at without a display.
class ScreenshotScene {
public:
    static bool render(MainWindow &window, const QString &pngPath, QString *error);
};
