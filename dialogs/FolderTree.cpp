#include "FolderTree.h"

#include "HiddenFolderFilter.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <memory>

namespace {
const QString rootFolder = QStringLiteral("/");
}

FolderTree::FolderTree(QWidget* parent)
    : QTreeView(parent)
{
    header()->hide();
    setAccessibleName(QStringLiteral("Folders"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);

    changeTimer.setSingleShot(true);
    changeTimer.setInterval(changeDelay);
    connect(&changeTimer, &QTimer::timeout, this, &FolderTree::changed);
    useNewModel();
}

// A new model lists every folder afresh; the old one and its selection go.
void FolderTree::useNewModel()
{
    const std::unique_ptr<HiddenFolderFilter> oldFolders(folders);
    const std::unique_ptr<QItemSelectionModel> oldSelection(selectionModel());
    auto* fileSystem = new QFileSystemModel;
    // Hidden folders stay out of sight, as in the desktop's file dialogs, but for those on the way
    // to the folder browsed to.
    fileSystem->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives | QDir::Hidden);
    fileSystem->setReadOnly(true);
    fileSystem->setRootPath(rootFolder);
    folders = new HiddenFolderFilter(fileSystem, this);
    setModel(folders);
    for (int column = 1; column < folders->columnCount(); ++column)
        hideColumn(column);
    connect(folders, &QAbstractItemModel::rowsInserted, this, &FolderTree::keepBrowsedFolderInView);
    connect(folders, &QAbstractItemModel::layoutChanged, this, &FolderTree::keepBrowsedFolderInView);
}

void FolderTree::refresh()
{
    const QString selected = selectedPath();
    QStringList expanded;
    collectExpanded(QModelIndex(), expanded);
    useNewModel();
    folders->showWayTo(selected);
    for (const QString& folder : std::as_const(expanded))
        expand(folders->index(folder));
    browseTo(selected);
    // The folder selected before is selected again: there is no change to report.
    cancelPendingChange();
}

// Parents come before their children, so each folder can be expanded in turn.
void FolderTree::collectExpanded(const QModelIndex& parent, QStringList& paths) const
{
    for (int row = 0; row < folders->rowCount(parent); ++row) {
        const QModelIndex child = folders->index(row, 0, parent);
        if (isExpanded(child)) {
            paths += folders->filePath(child);
            collectExpanded(child, paths);
        }
    }
}

bool FolderTree::cancelPendingChange()
{
    const bool pending = changeTimer.isActive();
    changeTimer.stop();
    return pending;
}

QString FolderTree::selectedPath() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : folders->filePath(selected.first());
}

void FolderTree::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    // The folder model re-announces an unchanged selection when it re-sorts rows around it: only
    // another folder is a change.
    const QString path = selectedPath();
    if (!path.isEmpty() && path != selectionPath)
        changeTimer.start();
    selectionPath = path;
    emit selectedPathChanged();
}

void FolderTree::browseTo(const QString& path)
{
    const QFileInfo folder(path);
    if (!folder.isDir())
        return;
    browsedFolder = QDir::cleanPath(folder.absoluteFilePath());
    folders->showWayTo(browsedFolder);
    const QModelIndex index = folders->index(browsedFolder);
    if (!index.isValid())
        return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::EnsureVisible);
}

void FolderTree::keepBrowsedFolderInView()
{
    if (browsedFolder.isEmpty())
        return;
    // After the view has laid out the new rows.
    QTimer::singleShot(0, this, [this] {
        if (!browsedFolder.isEmpty())
            scrollTo(folders->index(browsedFolder), QAbstractItemView::EnsureVisible);
    });
}

void FolderTree::mousePressEvent(QMouseEvent* event)
{
    browsedFolder.clear();
    // The right button opens the popup menu over the folder the user chose: only the left one chooses.
    if (event->button() == Qt::LeftButton)
        QTreeView::mousePressEvent(event);
}

void FolderTree::keyPressEvent(QKeyEvent* event)
{
    browsedFolder.clear();
    QTreeView::keyPressEvent(event);
}

void FolderTree::wheelEvent(QWheelEvent* event)
{
    browsedFolder.clear();
    QTreeView::wheelEvent(event);
}
