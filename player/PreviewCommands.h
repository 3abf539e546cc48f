#pragma once

// What the main window's play, pause and stop commands do with its one player. A window without a
// player (the module missing or refusing to start) passes nullptr, and every command does nothing.
// Failures of the player are not caught here: they reach the application's error display.

#include <QString>
#include <optional>

class TElPlayer;
class TElPlayerMan;

// The player for a window, its module "dodid.esp" loaded from folder (ending with "/"); nullptr,
// silently, when the module cannot be loaded or set up.
TElPlayer* setUpPreviewPlayer(TElPlayerMan& manager, const QString& folder);

// Resumes a paused player; otherwise plays firstSelectedFile (the full path of the first selected
// row, none when no row is selected) after stopping and closing what was playing.
void playSelected(TElPlayer* player, const std::optional<QString>& firstSelectedFile);
void pauseOrResume(TElPlayer* player);
void stopAndClose(TElPlayer* player);

// The module's mode counts by its low byte.
int playerModeOf(TElPlayer& player);
