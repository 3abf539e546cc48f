#include "QtUserInterface.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ui::applicationTitle());
    ui::QtUserInterface userInterface;
    ui::setUserInterface(&userInterface);

    QMainWindow window;
    window.setWindowTitle(ui::applicationTitle());
    window.resize(771, 564);
    window.show();
    return app.exec();
}
