// The preview player: set up at start, the play, pause and stop commands, unloaded at the end.

#include "UnitMain.h"

#include "ElSounds.h"
#include "PreviewCommands.h"
#include "ProgramFolder.h"

#include <QItemSelectionModel>
#include <QTreeView>
#include <algorithm>

namespace {

// The file of the first selected row in grid order; none when no row is selected.
std::optional<QString> firstSelectedFile(const TFormMain& form)
{
    const QModelIndexList selected = form.vtgrid->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return std::nullopt;
    const int row = std::min_element(selected.begin(), selected.end(), [](const QModelIndex& a, const QModelIndex& b) {
                        return a.row() < b.row();
                    })->row();
    if (row < 0 || row >= static_cast<int>(form.FileList.size()))
        return std::nullopt;
    return form.FileList[static_cast<std::size_t>(row)]->FileName;
}

}  // namespace

bool TFormMain::StartPlayer()
{
    ElPlayerMan1 = new TElPlayerMan(this);
    Player = setUpPreviewPlayer(*ElPlayerMan1, programFolder());
    return Player != nullptr;
}

void TFormMain::UnloadPlayer()
{
    if (Player)
        Player->UnloadModule();
}

void TFormMain::ToolBtnPlayClick()
{
    playSelected(Player, firstSelectedFile(*this));
}

void TFormMain::ToolBtnPauseClick()
{
    pauseOrResume(Player);
}

void TFormMain::ToolBtnStopClick()
{
    stopAndClose(Player);
}

void TFormMain::miPopupPlayClick()
{
    ToolBtnPlayClick();
}

void TFormMain::miPopupPauseClick()
{
    ToolBtnPauseClick();
}

void TFormMain::miPopupStopClick()
{
    ToolBtnStopClick();
}
