// The preview player: set up at start, the play, pause and stop commands, unloaded at the end.

#include "UnitMain.h"

#include "ElSounds.h"
#include "PreviewCommands.h"
#include "ProgramFolder.h"

namespace {

// The file of the first selected row in grid order; none when no row is selected.
std::optional<QString> firstSelectedFile(const TFormMain& form)
{
    const QList<int> rows = form.gridSelectedRows();
    if (rows.isEmpty() || rows.first() >= static_cast<int>(form.FileList.size()))
        return std::nullopt;
    return form.FileList[static_cast<std::size_t>(rows.first())]->FileName;
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
