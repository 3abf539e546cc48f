#pragma once

// Enter on a control presses a button. A push button of a dialog without a default button presses
// itself, as on Space, where QDialog leaves Enter unanswered; a field whose dialog has one obvious
// action for the typed text presses that action's button, where QDialog would close.

class QAbstractButton;
class QWidget;

void pressOnEnter(QWidget* control, QAbstractButton* button);
