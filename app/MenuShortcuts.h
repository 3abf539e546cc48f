#pragma once

#include <QObject>

class QMainWindow;

// Gives the commands of a window's menu bar their shortcuts whatever widget of the window has the
// focus. A text field would otherwise keep some keys for its own editing bindings (on X11 Ctrl+U
// erases the line and Ctrl+E moves to its end); while the command is disabled the key does
// nothing. Ctrl+A stays "select all text" inside a text field, as on every Linux desktop;
// elsewhere in the window it is the menu's command.
class MenuShortcutsFirst : public QObject {
public:
    explicit MenuShortcutsFirst(QMainWindow* window);   // watches the application's key events

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow* window;
};
