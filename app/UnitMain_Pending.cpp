// Commands whose work is not built yet: each does nothing (a query answers "nothing"), so every menu
// item, tool button and caller already has its handler. They move to their own sources as they are built.

#include "UnitMain.h"

// ---- file list and opening files
void TFormMain::OpenFiles(const QStringList&, bool) {}
void TFormMain::miOpenClick() {}
void TFormMain::miCloseClick() {}
void TFormMain::miCloseAllClick() {}
void TFormMain::miSelectAllClick() {}
void TFormMain::ReloadFile(int) {}
void TFormMain::ReloadFiles(int, int) {}
void TFormMain::miRefreshAllClick() {}

// ---- tag pages, information panel and command state
void TFormMain::PageControlTagChange() {}
void TFormMain::ClearFileInfo() {}
int TFormMain::GenreIndexOf(const QString&) const { return -1; }
void TFormMain::ShowTagLights(const TMpegFile&) {}
void TFormMain::ShowMpegInfo(const QString&) {}
void TFormMain::UpdateCommands() {}
void TFormMain::menuFileClick() {}
void TFormMain::menuEditClick() {}
void TFormMain::menuFieldsClick() {}

// ---- saving tags and field locks
void TFormMain::miSaveClick() {}
void TFormMain::SaveTags() {}
void TFormMain::miLockAllClick() {}
void TFormMain::miUnlockAllClick() {}
void TFormMain::EditTrackV1Change() {}
void TFormMain::EditYearV1Change() {}

// ---- removing tags
void TFormMain::miRemoveTagClick() {}
void TFormMain::RemoveTags() {}

// ---- field editing commands
void TFormMain::miClearAllTagsClick() {}
void TFormMain::miCopyAllTagsClick() {}
void TFormMain::miPasteAllTagsClick() {}
void TFormMain::miSwapClick() {}
void TFormMain::miCapitalizeFieldsClick() {}
void TFormMain::EditTitleV1DblClick(QLineEdit*) {}
void TFormMain::MemoCommentV2DblClick() {}

// ---- copying between tag versions, auto numbering
void TFormMain::miV1V2Click() {}
void TFormMain::miV2V1Click() {}
void TFormMain::miAutoNumberClick() {}

// ---- file grid
QString TFormMain::vtgridGetText(int, int) { return {}; }
void TFormMain::RebuildGrid() {}
void TFormMain::SortFiles(int) {}
void TFormMain::vtgridHeaderClick(int, Qt::MouseButton) {}
void TFormMain::miMoveUpClick() {}
void TFormMain::miMoveDownClick() {}
void TFormMain::vtgridMouseUp(Qt::MouseButton) {}
void TFormMain::miPopupRefreshClick() {}

// ---- selection and tag guessing
void TFormMain::vtgridChange(int) {}
void TFormMain::GuessTagFromFileName() {}

// ---- renaming files by format
void TFormMain::RenameFiles(const QString&) {}
void TFormMain::miRenameClick() {}
void TFormMain::PopupPopup() {}
void TFormMain::CustomPopupMenuClick(QAction*) {}

// ---- folder tree and open folder
void TFormMain::OpenFolder(const QString&, bool) {}
void TFormMain::miOpenFolderClick() {}
void TFormMain::VETreeMainChange() {}
void TFormMain::SetExplorerFull(bool) {}
void TFormMain::miTreeSwitchTypeClick() {}
void TFormMain::PopupMenuTreePopup() {}
void TFormMain::miTreeRefreshTreeClick() {}

// ---- album lookup
void TFormMain::miFreedbClick() {}
