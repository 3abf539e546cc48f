#include "MenuShortcuts.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>

namespace {

// An editable combo box and a spin box keep the focus themselves and hand the keys to their line edit.
bool isTextField(const QWidget* widget)
{
    const auto* combo = qobject_cast<const QComboBox*>(widget);
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget)
           || qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)
           || (combo && combo->isEditable());
}

bool isMenuShortcut(const QMainWindow* window, const QKeySequence& keys)
{
    const auto actions = window->menuBar()->findChildren<QAction*>();
    return std::any_of(actions.begin(), actions.end(),
                       [&keys](const QAction* action) { return action->shortcut() == keys; });
}

}  // namespace

MenuShortcutsFirst::MenuShortcutsFirst(QMainWindow* window) : QObject(window), window(window)
{
    qApp->installEventFilter(this);
}

bool MenuShortcutsFirst::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::SelectAll) && isTextField(widget))
        return false;
    // Held back unaccepted, the key goes to the window's shortcuts first. A key press that still
    // arrives belongs to a disabled command: it does nothing rather than edit the field.
    return isMenuShortcut(window, QKeySequence(key->keyCombination()));
}
