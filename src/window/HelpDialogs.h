#pragma once

class QWidget;

// The Help menu's two windows. Both open beside the main window without blocking it and
// close themselves.
class HelpDialogs {
public:
    // About Tagwright: what it does, its version and the libraries it runs on with theirs.
    static void showAbout(QWidget *window);
    // Keyboard shortcuts: a table of every shortcut of the window's menus, the keys the
    // tables and fields take, and each Alt+letter with the control it reaches.
    static void showKeyboardShortcuts(QWidget *window);
};
