#include "UnitMain.h"

#include "SettingsWriter.h"
#include "UnitOptions.h"

#include <QToolButton>
#include <QTreeView>

void TFormMain::miOptionsClick()
{
    if (!FormOptions)
        return;
    RegistryWriter writer;
    // The renaming formats stay changed whatever the outcome, even after Cancel.
    const OptionsOutcome outcome = FormOptions->Execute(*this, writer, [this](bool full) { SetExplorerFull(full); });
    if (outcome == OptionsOutcome::Failed)
        return;
    if (outcome == OptionsOutcome::Stored) {
        for (QToolButton* button : {ToolBtnPlay, ToolBtnPause, ToolBtnStop})
            button->setEnabled(true);
    }
    vtgrid->viewport()->update();
}
