#pragma once

// What every fuzz target shares: an application object, a user interface that answers every box,
// the input written to a file, and the input cut into lines.

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

// Creates the application object and installs the silent user interface; call once, from
// LLVMFuzzerInitialize.
void initializeFuzzing(int* argc, char*** argv);

// Forgets the messages shown by the previous input, so memory stays flat over a long run.
void clearMessages();

// The input as the named file in a folder of this process; the same path for every input.
QString writeInputFile(const uint8_t* data, size_t size, const QString& name = QStringLiteral("input.mp3"));

// The input as UTF-8 text cut at line feeds; `count` lines at least, missing ones empty.
QStringList inputLines(const uint8_t* data, size_t size, qsizetype count = 0);

// The folder of this process that writeInputFile writes to; ends without "/".
QString inputFolder();
