// The Tools menu's encode and decode commands: their dialogs are made on first use and kept.

#include "UnitMain.h"

#include "EncoderRun.h"
#include "ProgramFolder.h"
#include "UnitDecode.h"
#include "UnitEncode.h"

#include <QFileInfo>

namespace {

// Either dialog is worth opening only when the encoder is there to run.
void showWhenEncoderPresent(QDialog* dialog)
{
    if (QFileInfo::exists(programFolder() + QStringLiteral("lame")))
        dialog->exec();
    else
        ui::showMessage(QStringLiteral("Lame.exe not found in application folder."));
    restoreDefaultCursor();
}

}  // namespace

void TFormMain::miEncodeClick()
{
    if (!FormEncode)
        FormEncode = new TFormEncode([this] { return EncoderFolders{DefaultFolderEnc, DefaultFolderOpen}; }, this);
    showWhenEncoderPresent(FormEncode);
}

void TFormMain::miDecodeClick()
{
    if (!FormDecode)
        FormDecode = new TFormDecode([this] { return EncoderFolders{DefaultFolderDec, DefaultFolderOpen}; }, this);
    showWhenEncoderPresent(FormDecode);
}
