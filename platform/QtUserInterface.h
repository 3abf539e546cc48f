#pragma once

#include "UserInterface.h"

namespace ui {

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
