#include "UserInterface.h"

#include <QCoreApplication>
#include <stdexcept>

namespace ui {

namespace {
UserInterface* installed = nullptr;
}

UserInterface& userInterface()
{
    if (!installed)
        throw std::logic_error("No user interface installed");
    return *installed;
}

void setUserInterface(UserInterface* implementation)
{
    installed = implementation;
}

QString applicationTitle()
{
    return QStringLiteral("Corvane");
}

void showMessage(const QString& text, Icon icon, const QString& title)
{
    userInterface().messageBox(text, icon, Buttons::Ok, title);
}

bool askYesNo(const QString& text, Icon icon, const QString& title)
{
    return userInterface().messageBox(text, icon, Buttons::YesNo, title) == Answer::Yes;
}

}  // namespace ui
