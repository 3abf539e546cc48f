#pragma once

#include "LameCommand.h"

#include <QStringList>
#include <functional>

class QWidget;

struct LameRunTexts {
    QString activity;   // "Encoding": progress caption "Encoding...k/n", message "Encoding 'name'."
    QString verb;       // "encode": "Cannot encode 'name'."
};

// Runs the encoder of the program folder once per input, one process at a time, inside a progress
// window owned by `owner`; Cancel, or the program's end, ends the wait and starts no further file.
// An encoder once started finishes its file, whatever becomes of the dialog or the program. An
// input whose output name is taken, before the run or when its file would take the name, is
// skipped, the skipped ones told at the end; a run that fails or writes no audio is told and its
// own file removed.
void runLame(QWidget* owner, const QStringList& inputs, const LameRunTexts& texts,
             const std::function<LameCommand(const QString& input)>& commandFor);

// The program's own cursor again, whatever busy cursors are still set.
void restoreDefaultCursor();
