#include "UnitMain.h"

#include "SettingsWriter.h"
#include "UnitOptions.h"

#include <QToolButton>
#include <QTreeView>

void TFormMain::miOptionsClick()
{
    if (!FormOptions)
        return;
    OptionsSettings settings;
    copyOptionsSettings(settings, *this);
    RegistryWriter writer;
    const OptionsOutcome outcome = FormOptions->Execute(settings, writer, [this](bool full) { SetExplorerFull(full); });
    // Taken back whatever the outcome: the renaming formats stay changed even after Cancel.
    copyOptionsSettings(*this, settings);
    if (outcome == OptionsOutcome::Failed)
        return;
    if (outcome == OptionsOutcome::Stored) {
        for (QToolButton* button : {ToolBtnPlay, ToolBtnPause, ToolBtnStop})
            button->setEnabled(true);
    }
    vtgrid->viewport()->update();
}
