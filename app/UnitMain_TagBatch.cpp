// The loop of the tag commands over the selected files, inside the progress window.

#include "TagBatch.h"

#include "ElSounds.h"
#include "UnitMain.h"
#include "UnitProgressForm.h"
#include "UnitUtilities.h"

#include <QFileInfo>
#include <QLabel>
#include <memory>

namespace {

// The player holds its current file open; it lets go before the file is written.
void releaseFromPlayer(TFormMain& form, const TagBatch& batch, const QString& path)
{
    if (!form.Player || form.Player->InputName() != path)
        return;
    if (!batch.stopOnlyWhenPlaying) {
        form.ToolBtnStopClick();
    } else if (form.Player->GetPlayerMode() == es::Playing) {
        form.Player->Stop();
        form.Player->Close();
    }
}

}  // namespace

void runTagBatch(TFormMain& form, const TagBatch& batch, const std::function<TagWork(int, const QString&)>& work)
{
    const QList<int> rows = form.gridSelectedRows();
    // Owned here, so that every other window is enabled again however the loop ends.
    auto progress = std::make_unique<TFormProgress>();
    progress->SetupProgress(0, 0, static_cast<qint32>(rows.size()), 1, true);
    progress->ShowProgress();
    for (const int row : rows) {
        if (progress->Cancelled)
            break;
        try {
            const QString path = form.FileList.at(static_cast<std::size_t>(row))->FileName;
            TFileDate date = -1;
            if (batch.keepTimestamp)
                GetFileDate(path, date);
            releaseFromPlayer(form, batch, path);
            progress->lbMsg->setText(batch.message + QFileInfo(path).fileName());
            progress->repaint();
            if (work(row, path) == TagWork::Written) {
                if (batch.keepTimestamp && date >= 0)
                    SetFileDate(path, date);
                form.ReloadFile(row);
                progress->ProgressBar1->StepIt();
                Delay(50);
                continue;
            }
        } catch (const std::exception&) {
            // TagFileError and every other failure of one file: the next file is tried.
        }
        progress->ProgressBar1->StepIt();
    }
    progress->CloseProgress();
}
