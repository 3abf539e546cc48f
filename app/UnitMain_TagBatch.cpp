// The loop of the tag commands over the selected files, inside the progress window.

#include "TagBatch.h"

#include "ElSounds.h"
#include "PreviewCommands.h"
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
    } else if (playerModeOf(*form.Player) == es::Playing) {
        form.Player->Stop();
        form.Player->Close();
    }
}

}  // namespace

void runTagBatch(TFormMain& form, const TagBatch& batch, const std::function<TagWork(const TMpegFile&)>& work)
{
    const QList<int> rows = form.gridSelectedRows();
    QStringList paths;
    for (const int row : rows)
        paths.append(form.FileList.at(static_cast<std::size_t>(row))->FileName);
    // Owned here, so that every other window is enabled again however the loop ends.
    auto progress = std::make_unique<TFormProgress>();
    progress->SetupProgress(0, 0, static_cast<qint32>(rows.size()), 1, true);
    progress->ShowProgress();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        const QString& path = paths[i];
        // A folder change that was already on its way when the batch began can replace the list
        // during a wait; the rows then hold files the user did not choose.
        if (progress->Cancelled || !form.holdsFile(row, path))
            break;
        const TMpegFile file = *form.FileList[static_cast<std::size_t>(row)];
        try {
            TFileDate date = -1;
            if (batch.keepTimestamp)
                GetFileDate(path, date);
            releaseFromPlayer(form, batch, path);
            progress->lbMsg->setText(batch.message + QFileInfo(path).fileName());
            progress->repaint();
            if (work(file) == TagWork::Done) {
                if (batch.keepTimestamp && date >= 0)
                    SetFileDate(path, date);
                if (form.holdsFile(row, path))
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
