// The tool buttons forward to their menu commands; the Help command and the about box.

#include "UnitMain.h"

#include "HelpViewer.h"
#include "UnitAbout.h"

void TFormMain::ToolBtnOpenClick() { miOpenClick(); }
void TFormMain::ToolBtnOpenFolderClick() { miOpenFolderClick(); }
void TFormMain::ToolBtnCloseClick() { miCloseClick(); }
void TFormMain::ToolBtnSaveClick() { miSaveClick(); }
void TFormMain::ToolBtnRemoveClick() { miRemoveTagClick(); }
void TFormMain::ToolBtnRenameClick() { miRenameClick(); }
void TFormMain::ToolBtnFreedbClick() { miFreedbClick(); }
void TFormMain::ToolBtnMoveUpClick() { miMoveUpClick(); }
void TFormMain::ToolBtnMoveDownClick() { miMoveDownClick(); }
void TFormMain::ToolBtnRefreshAllClick() { miRefreshAllClick(); }
void TFormMain::ToolBtnSelectAllClick() { miSelectAllClick(); }
void TFormMain::ToolBtnSwapClick() { miSwapClick(); }
void TFormMain::ToolBtnCapitalizeClick() { miCapitalizeFieldsClick(); }
void TFormMain::ToolBtnAutoNbClick() { miAutoNumberClick(); }
void TFormMain::ToolBtnPlaylistOpenClick() { miOpenPlaylistClick(); }
void TFormMain::ToolBtnPlaylistSaveClick() { miSavePlaylistClick(); }
void TFormMain::ToolBtnHelpClick() { miHelpClick(); }

void TFormMain::miHelpClick()
{
    // A second request replaces the window of the first, as the help viewer shows one topic at a time.
    if (HelpWindow)
        HelpWindow->close();
    HelpWindow = showHelpTopic(HelpFile, QStringLiteral("/Overview.htm"));
}

void TFormMain::miAboutClick()
{
    if (FormAbout)
        FormAbout->exec();
}
