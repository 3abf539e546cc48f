#include "Application.h"

#include "UserInterface.h"

#include <exception>

CorvaneApplication::CorvaneApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool CorvaneApplication::notify(QObject* receiver, QEvent* event)
{
    return deliverShowingErrors([&] { return QApplication::notify(receiver, event); });
}

bool deliverShowingErrors(const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& error) {
        ui::showMessage(QString::fromLocal8Bit(error.what()), ui::Icon::Error);
    }
    return false;
}
