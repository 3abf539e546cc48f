#pragma once

// Saving a title into a file and removing its tag, as the save and remove commands do, judged by
// what became of the user's bytes: a refused or failed step leaves the file byte for byte as it
// was; a step that succeeds keeps every byte behind the tag, a saved file reads again, and every
// frame but the title holds what it held.

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` before each step. Empty when both steps kept the bytes, else what
// went wrong. `saved`, when given, receives the file as a successful save left it.
QString unsoundSaveOrRemoval(const QString& path, const QByteArray& bytes, const QString& title,
                             QByteArray* saved = nullptr);
