#include "ScriptedUserInterface.h"

ScriptedUserInterface::ScriptedUserInterface()
{
    ui::setUserInterface(this);
}

ScriptedUserInterface::~ScriptedUserInterface()
{
    ui::setUserInterface(nullptr);
}

ui::Answer ScriptedUserInterface::messageBox(const QString& text, ui::Icon icon, ui::Buttons buttons, const QString& title)
{
    messages.append({text, icon, buttons, title});
    if (whileMessageShown)
        whileMessageShown();
    if (!answers.empty()) {
        const ui::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == ui::Buttons::Ok || buttons == ui::Buttons::OkCancel ? ui::Answer::Ok : ui::Answer::Yes;
}

ui::FileDialogResult ScriptedUserInterface::openFiles(const ui::FileDialogRequest& request)
{
    fileRequests.append(request);
    if (fileAnswers.empty())
        return {};
    const ui::FileDialogResult result = fileAnswers.front();
    fileAnswers.pop_front();
    return result;
}

ui::FileDialogResult ScriptedUserInterface::saveFile(const ui::FileDialogRequest& request)
{
    return openFiles(request);
}

std::optional<quint32> ScriptedUserInterface::chooseColor(quint32)
{
    if (colorAnswers.empty())
        return std::nullopt;
    const auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedUserInterface::inputText(const QString& title, const QString& prompt, const QString& initial)
{
    inputs.append({title, prompt, initial});
    if (textAnswers.empty())
        return std::nullopt;
    const auto answer = textAnswers.front();
    textAnswers.pop_front();
    return answer;
}

QStringList ScriptedUserInterface::texts() const
{
    QStringList result;
    for (const Message& message : messages)
        result.append(message.text);
    return result;
}
