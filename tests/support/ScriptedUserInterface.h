#pragma once

#include "UserInterface.h"

#include <QList>
#include <deque>
#include <functional>

// Records every message and input box the program shows, with their titles, and answers from
// queues the test fills.
// An empty answer queue answers Yes to questions, OK otherwise, and cancels dialogs.
class ScriptedUserInterface : public ui::UserInterface {
public:
    struct Message {
        QString text;
        ui::Icon icon;
        ui::Buttons buttons;
        QString title;
    };
    struct Input {
        QString title;
        QString prompt;
        QString initial;
    };

    ScriptedUserInterface();    // installs itself
    ~ScriptedUserInterface() override;   // uninstalls itself

    ui::Answer messageBox(const QString& text, ui::Icon icon, ui::Buttons buttons, const QString& title) override;
    ui::FileDialogResult openFiles(const ui::FileDialogRequest& request) override;
    ui::FileDialogResult saveFile(const ui::FileDialogRequest& request) override;
    std::optional<quint32> chooseColor(quint32 initial) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt, const QString& initial) override;

    QStringList texts() const;

    QList<Message> messages;
    QList<Input> inputs;
    QList<ui::FileDialogRequest> fileRequests;
    std::deque<ui::Answer> answers;
    std::deque<ui::FileDialogResult> fileAnswers;
    std::deque<std::optional<quint32>> colorAnswers;
    std::deque<std::optional<QString>> textAnswers;
    // Runs inside every message box, as the events a real box lets through.
    std::function<void()> whileMessageShown;
};
