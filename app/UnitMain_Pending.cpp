// Commands whose work is not built yet: each does nothing (a query answers "nothing"), so every menu
// item, tool button and caller already has its handler. They move to their own sources as they are built.

#include "UnitMain.h"

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

