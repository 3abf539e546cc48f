// The album lookup command: the lookup dialog over the opened files, made for each use.

#include "UnitMain.h"

#include "ElSounds.h"
#include "UnitGetAlbumFreedb.h"
#include "UnitProgressForm.h"

#include <QLabel>

namespace {

// The album write reports to the shared progress window.
class AlbumWriteProgress : public TFreedbProgress {
public:
    void SetupProgress(qint32 Position, qint32 Min, qint32 Max, qint32 Step, bool ShowCancel) override
    {
        window.SetupProgress(Position, Min, Max, Step, ShowCancel);
    }
    void ShowProgress() override { window.ShowProgress(); }
    void ShowMessage(const QString& Text) override
    {
        window.lbMsg->setText(Text);
        window.repaint();
    }
    void StepIt() override { window.ProgressBar1->StepIt(); }
    bool Cancelled() const override { return window.Cancelled; }
    void CloseProgress() override { window.CloseProgress(); }

private:
    TFormProgress window;
};

}  // namespace

void TFormMain::miFreedbClick()
{
    TFreedbHost host;
    host.FreedbServer = FreedbServer;
    host.FreedbPort = FreedbPort;
    host.OptionLeadingZero = OptionLeadingZero;
    host.OptionAddTotalTracks = OptionAddTotalTracks;
    for (const auto& file : FileList)
        host.Files.push_back(*file);
    host.NewProgress = [] { return std::make_unique<AlbumWriteProgress>(); };
    host.StopPlayerOf = [this](const QString& FileName) {
        if (Player && Player->InputName() == FileName)
            ToolBtnStopClick();
    };
    host.ReloadAllFiles = [this] {
        ReloadFiles(0, static_cast<int>(FileList.size()) - 1);
        PageControlTagChange();
    };

    TFormFreedb form(std::move(host), this);
    if (!FileList.empty())
        form.exec();
}
