#pragma once

#include <QString>
#include <ostream>

// Texts in test failures as they read.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
