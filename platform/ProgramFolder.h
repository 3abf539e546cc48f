#pragma once

#include <QString>

// The folder the program runs from, ending with "/": the help file, the player module and the
// encoder are looked up there. Tests point it elsewhere.
QString programFolder();
void setProgramFolder(const QString& folder);
