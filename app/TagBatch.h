#pragma once

// The loop that the tag commands (save, remove, copy between versions, auto numbering) run over
// the selected files of the main window, inside the progress window.

#include <QString>
#include <functional>

class TFormMain;
class TMpegFile;

// What the work did with one file. Done, whether or not anything had to be written: the file's
// date is put back, its row reloaded and the 50 ms wait follows. Skipped files only step the bar.
enum class TagWork { Done, Skipped };

struct TagBatch {
    QString message;             // shown before the file's name, "Saving tag of: "
    bool keepTimestamp = false;  // the file's date is put back after its work
    bool stopOnlyWhenPlaying = false;   // false: the player lets go of the file in any state
};

// Runs work(file) for every selected row in grid order until the user cancels, or until the list
// no longer holds the chosen files. The work gets a copy of the row's file: the tag library's
// boxes and waits let events through, which may free the entry. A file whose work raises is
// skipped; the tag library has reported what it could.
void runTagBatch(TFormMain& form, const TagBatch& batch, const std::function<TagWork(const TMpegFile&)>& work);
