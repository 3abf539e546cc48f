#pragma once

// A hint is "short|long": the short part is the tool tip, the long part the status-bar text.
// A hint without "|" is both.

#include <QString>

QString GetShortHint(const QString& hint);
QString GetLongHint(const QString& hint);
