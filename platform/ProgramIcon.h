#pragma once

// The program's own picture, drawn from the SVG compiled into the program: the icon of its
// windows and the picture of the about box.

#include <QIcon>

QIcon programIcon();
