#pragma once

// Saving a title into a file and removing its tag, as the save and remove commands do, judged by
// what became of the user's bytes: a refused or failed step leaves the file byte for byte as it
// was; a step that succeeds keeps every byte behind the tag, and a saved file reads again.

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` before each step. Empty when both steps kept the bytes, else what
// went wrong.
QString unsoundSaveOrRemoval(const QString& path, const QByteArray& bytes, const QString& title);
