#include "Application.h"
#include "FileReplacement.h"
#include "ProgramIcon.h"
#include "QtUserInterface.h"
#include "UnitAbout.h"
#include "UnitMain.h"
#include "UnitOptions.h"
#include "UnitRenamingFormats.h"

int main(int argc, char** argv)
{
    letWritesFailAtFileSizeLimit();
    CorvaneApplication app(argc, argv);
    QApplication::setApplicationName(ui::applicationTitle());
    // Also for the windows that the main window does not own.
    QApplication::setWindowIcon(programIcon());
    ui::QtUserInterface userInterface;
    ui::setUserInterface(&userInterface);

    // Created once, in this order, and kept for the whole run; the main window's start-up runs
    // before the others exist.
    TFormMain formMain(QApplication::arguments().mid(1));
    TFormAbout formAbout(&formMain);
    FormAbout = &formAbout;
    TFormOptions formOptions(&formMain);
    TFormRenamingFormats formRenamingFormats(&formMain);

    formMain.show();
    const int result = app.exec();
    FormAbout = nullptr;
    return result;
}
