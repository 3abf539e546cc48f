#include "EnterPresses.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

class EnterPresses : public QObject {
public:
    EnterPresses(QWidget* control, QAbstractButton* button) : QObject(control), button(button) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !button->isEnabled())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        button->click();
        return true;
    }

private:
    QAbstractButton* button;
};

}  // namespace

void pressOnEnter(QWidget* control, QAbstractButton* button)
{
    control->installEventFilter(new EnterPresses(control, button));
}
