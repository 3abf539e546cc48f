#include "UnitMain.h"

#include "FolderTree.h"
#include "SettingsWriter.h"
#include "UnitBrowseFolder.h"
#include "UnitProgressForm.h"
#include "UnitUtilities.h"
#include "WaitCursor.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QSplitter>
#include <memory>

namespace {

// Clears a flag however the handling that set it ends.
struct ClearOnExit {
    bool& flag;
    ~ClearOnExit() { flag = false; }
};

QStringList listFolder(const QString& folder, bool recursive)
{
    const WaitCursor wait;
    std::unique_ptr<TFormProgress> progress;
    if (recursive) {
        progress = std::make_unique<TFormProgress>();
        progress->SetupProgress(0, 0, 1, 1, false);
        progress->ProgressBar1->hide();
        progress->lbMsg->setText(QStringLiteral("Scanning folder..."));
        progress->ShowProgress();
    }
    QStringList files;
    ListFiles(folder, QStringLiteral("*.mp3"), files, recursive);
    if (progress)
        progress->CloseProgress();
    return files;
}

}  // namespace

void TFormMain::OpenFolder(const QString& Folder, bool Recursive)
{
    if (!QFileInfo(Folder).isDir())
        return;
    openInNameOrder(listFolder(Folder, Recursive));
}

void TFormMain::miOpenFolderClick()
{
    TFormBrowseFolder dialog(this);
    dialog.SetSubfolders(OptionRecurseFolder);
    dialog.SetMessage(QStringLiteral("Select a folder to open."));
    dialog.InitialFolder = DefaultFolderOpen;
    if (dialog.exec() != QDialog::Accepted)
        return;
    DefaultFolderOpen = dialog.GetFolder();
    OptionRecurseFolder = dialog.GetSubfolders();
    OpenFolder(dialog.GetFolder(), dialog.chkSubfolders->isChecked());
}

void TFormMain::VETreeMainChange()
{
    panelFilePath->setText(QStringLiteral(" File path: ") + VETreeMain->selectedPath());
    SetTagLights(false, false, false, false, false);
    // Opening files processes events, so the tree can report another change meanwhile.
    if (FolderChangeBusy)
        return;
    FolderChangeBusy = true;
    const ClearOnExit clearBusy{FolderChangeBusy};

    if (FirstFolderChangePending) {
        FirstFolderChangePending = false;
        if (!OptionLoadFilesStartup)
            return;
    }
    if (!FileList.empty()) {
        FileList.clear();
        RebuildGrid();
        ClearFileInfo();
        // A folder without files opens none, and so tells no count of its own.
        showOpenFileCount();
    }
    OpenFolder(VETreeMain->selectedPath(), chkSubfolders->isChecked());
    if (OptionSortAfterOpen)
        SortFiles(3);
    VETreeMain->setFocus();
    UpdateCommands();
}

// The folder panel sits either in Splitter1 beside the grid, or in the full-height panel on the
// left, which Splitter1 then divides from the rest of the window.
void TFormMain::SetExplorerFull(bool Full)
{
    const bool isFull = PanelTopLeft->parentWidget() == PanelRightForFullTree;
    if (Full == isFull)
        return;
    repaint();
    setUpdatesEnabled(false);
    QWidget* mainArea = Full ? panelright->parentWidget() : Splitter1->parentWidget();
    auto* mainAreaLayout = static_cast<QBoxLayout*>(mainArea->layout());
    if (Full) {
        PanelRightForFullTree->layout()->addWidget(PanelTopLeft);
        PanelTop->layout()->addWidget(PanelTopRight);
        mainAreaLayout->addWidget(Splitter1, 1);
        Splitter1->addWidget(PanelRightForFullTree);
        Splitter1->addWidget(panelright);
        // The tree keeps the user's width, and at least its check box's caption; the window keeps
        // its own. The grid and the tag pages take what is left, at least what the grid keeps
        // beside the tree in the other layout.
        PanelRightForFullTree->setMinimumWidth(chkSubfolders->sizeHint().width());
        PanelRightForFullTree->setMaximumWidth(QWIDGETSIZE_MAX);
        panelright->setMinimumWidth(PanelTopRight->minimumSizeHint().width());
    } else {
        panelright->setMinimumWidth(0);
        mainAreaLayout->addWidget(PanelRightForFullTree);
        mainAreaLayout->addWidget(panelright, 1);
        Splitter1->addWidget(PanelTopLeft);
        Splitter1->addWidget(PanelTopRight);
        PanelTop->layout()->addWidget(Splitter1);
        PanelRightForFullTree->setFixedWidth(0);
    }
    // A widget given a new parent stays hidden until shown again.
    for (QWidget* moved : {PanelTopLeft, PanelTopRight, PanelRightForFullTree, panelright, static_cast<QWidget*>(Splitter1)})
        moved->show();
    // The width the user gave the panel, not the one a narrow window squeezed it to.
    setFolderPanelWidth(folderPanelWidth);
    setUpdatesEnabled(true);
    // The tree's new height is known once the moved panels are laid out.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    VETreeMain->scrollTo(VETreeMain->selectionModel()->selectedIndexes().value(0));
}

void TFormMain::miTreeSwitchTypeClick()
{
    SetExplorerFull(!OptionExplorerFull);
    OptionExplorerFull = !OptionExplorerFull;
    RegistryWriter key;
    writeSettings(key, {{QStringLiteral("Option Explorer Full"), OptionExplorerFull}});
}

void TFormMain::PopupMenuTreePopup()
{
    miTreeSwitchType->setText(OptionExplorerFull ? QStringLiteral("&Switch explorer to half size")
                                                 : QStringLiteral("&Switch explorer to full size"));
}

void TFormMain::miTreeRefreshTreeClick()
{
    VETreeMain->refresh();
}
