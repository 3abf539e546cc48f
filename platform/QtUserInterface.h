#pragma once

#include "UserInterface.h"

class QWidget;

namespace ui {

// The window of a running batch. While it is shown, a message box stands beside it rather than
// over it and leaves it usable, so that its Cancel stays in reach between the batch's messages;
// hiding the window closes the box with its escape answer. A hidden or deleted window is none.
void setBatchWindow(QWidget* window);

// The widget implementation of the seam: modal Qt dialogs over the active window.
class QtUserInterface : public UserInterface {
public:
    Answer messageBox(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
    FileDialogResult openFiles(const FileDialogRequest& request) override;
    FileDialogResult saveFile(const FileDialogRequest& request) override;
    std::optional<quint32> chooseColor(quint32 initial) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt, const QString& initial) override;
};

}  // namespace ui
