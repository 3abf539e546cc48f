// The open files: adding them, closing them, selecting them all and reading them again.

#include "UnitMain.h"

#include "NameOrder.h"
#include "UnitProgressForm.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSet>
#include <QTreeView>
#include <algorithm>

namespace {

constexpr qint64 messageInterval = 25;   // milliseconds

// Paths compare exactly once they are absolute and clean: the file system tells "A.MP3" from "a.mp3".
QString comparablePath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QSet<QString> openPathsOf(const std::vector<std::unique_ptr<TMpegFile>>& files)
{
    QSet<QString> paths;
    for (const auto& file : files)
        paths.insert(comparablePath(file->FileName));
    return paths;
}

bool isMpegAudioFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("mp3") || suffix == QLatin1String("mp2");
}

}  // namespace

void TFormMain::OpenFiles(const QStringList& Paths, bool ShowProgress)
{
    if (Paths.isEmpty())
        return;
    // Destroying the window hands the disabled windows back, also when a read raises.
    std::unique_ptr<TFormProgress> progress;
    if (ShowProgress) {
        progress = std::make_unique<TFormProgress>();
        progress->SetupProgress(0, 0, static_cast<qint32>(Paths.size()), 1, true);
        progress->ShowProgress();
    }

    // Events let through may change the list (the folder tree replaces it, a rename renames), and
    // every change shows in the grid: only then are the open paths taken again, so that opening
    // stays in proportion to the number of files.
    QSet<QString> openPaths = openPathsOf(FileList);
    bool listChanged = false;
    const QObject gridWatch;
    const auto noteChange = [&listChanged] { listChanged = true; };
    connect(vtgridModel, &QAbstractItemModel::modelReset, &gridWatch, noteChange);
    connect(vtgridModel, &QAbstractItemModel::rowsInserted, &gridWatch, noteChange);
    connect(vtgridModel, &QAbstractItemModel::dataChanged, &gridWatch, noteChange);
    const auto letEventsThrough = [&](const auto& step) {
        listChanged = false;
        step();
        if (listChanged)
            openPaths = openPathsOf(FileList);
    };

    // Messages are let through between files, but at most every few milliseconds: repainting the
    // grid after every file would take many times longer than reading the files.
    QElapsedTimer sinceMessages;
    sinceMessages.start();

    const int count = static_cast<int>(Paths.size());
    for (int number = 1; number <= count; ++number) {
        if (progress && progress->Cancelled)
            break;
        const QString& path = Paths[number - 1];
        if (progress)
            progress->lbMsg->setText(QStringLiteral("Opening file %1 of %2.").arg(number).arg(count));
        if (!QFileInfo(path).isFile()) {
            letEventsThrough([&path] {
                ui::showMessage(QStringLiteral("The file '%1' does not exit.").arg(QFileInfo(path).fileName()));
            });
            continue;
        }
        if (!isMpegAudioFile(path))
            continue;
        const QString wanted = comparablePath(path);
        if (openPaths.contains(wanted))
            continue;
        auto file = std::make_unique<TMpegFile>();
        if (file->ReadFromFile(path)) {
            openPaths.insert(wanted);
            FileList.push_back(std::move(file));
            vtgridModel->appendRow();
        }
        if (sinceMessages.elapsed() >= messageInterval) {
            letEventsThrough([] { QCoreApplication::processEvents(); });
            sinceMessages.restart();
        }
        if (progress)
            progress->ProgressBar1->StepIt();
    }

    showOpenFileCount();
    // The window is enabled again first: a disabled window gives no widget the focus.
    if (progress)
        progress->CloseProgress();
    vtgrid->setFocus();
}

void TFormMain::miOpenClick()
{
    ui::FileDialogRequest request = OpenDialogOpenMpeg;
    request.initialFolder = DefaultFolderOpen;
    const ui::FileDialogResult chosen = ui::userInterface().openFiles(request);
    if (chosen.files.isEmpty())
        return;
    DefaultFolderOpen = QFileInfo(chosen.files.first()).absolutePath() + QLatin1Char('/');

    openInNameOrder(chosen.files);
}

void TFormMain::openInNameOrder(QStringList paths)
{
    sortNames(paths);
    OpenFiles(paths, paths.size() > 25);
    PageControlTagChange();
    if (OptionSortAfterOpen)
        SortFiles(3);
}

void TFormMain::miCloseClick()
{
    const QList<int> selected = gridSelectedRows();
    if (selected.isEmpty())
        return;
    const int first = selected.first();
    for (auto row = selected.crbegin(); row != selected.crend(); ++row)
        FileList.erase(FileList.begin() + *row);
    RebuildGrid();
    const int remaining = static_cast<int>(FileList.size());
    if (remaining > 0)
        selectGridRow(std::min(first, remaining - 1));
    if (gridSelectedRows().isEmpty()) {
        SetTagLights(false, false, false, false, false);
        ClearFileInfo();
    }
    UpdateCommands();
    showOpenFileCount();
}

void TFormMain::miCloseAllClick()
{
    FileList.clear();
    RebuildGrid();
    ClearFileInfo();
    showOpenFileCount();
    UpdateCommands();
    SetTagLights(false, false, false, false, false);
}

void TFormMain::miSelectAllClick()
{
    vtgrid->selectAll();
    UpdateCommands();
}

void TFormMain::ReloadFile(int Index)
{
    // A copy: the readers' boxes let events through, which may free the entry.
    const QString path = FileList.at(static_cast<std::size_t>(Index))->FileName;
    auto file = std::make_unique<TMpegFile>();
    file->ReadFromFile(path);
    FileList[static_cast<std::size_t>(Index)] = std::move(file);
}

void TFormMain::ReloadFiles(int First, int Last)
{
    for (int index = First; index <= Last; ++index)
        ReloadFile(index);
}

void TFormMain::miRefreshAllClick()
{
    ReloadFiles(0, static_cast<int>(FileList.size()) - 1);
    PageControlTagChange();
}

bool TFormMain::holdsFile(int row, const QString& path) const
{
    const auto index = static_cast<std::size_t>(row);
    return row >= 0 && index < FileList.size() && FileList[index]->FileName == path;
}

void TFormMain::showOpenFileCount()
{
    sbMainPanels[0]->setText(QStringLiteral(" %1 open file(s)").arg(FileList.size()));
}
