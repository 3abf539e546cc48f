#include "FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>

namespace {
const QString rootFolder = QStringLiteral("/");
}

FolderTree::FolderTree(QWidget* parent)
    : QTreeView(parent), folders(new QFileSystemModel(this))
{
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    folders->setReadOnly(true);
    folders->setRootPath(rootFolder);
    setModel(folders);
    for (int column = 1; column < folders->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);

    changeTimer.setSingleShot(true);
    changeTimer.setInterval(changeDelay);
    connect(&changeTimer, &QTimer::timeout, this, &FolderTree::changed);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { changeTimer.start(); });
    connect(folders, &QFileSystemModel::rowsInserted, this, &FolderTree::keepBrowsedFolderInView);
    connect(folders, &QFileSystemModel::layoutChanged, this, &FolderTree::keepBrowsedFolderInView);
}

QString FolderTree::selectedPath() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? folders->filePath(current) : QString();
}

void FolderTree::browseTo(const QString& path)
{
    const QFileInfo folder(path);
    if (!folder.isDir())
        return;
    browsedFolder = QDir::cleanPath(folder.absoluteFilePath());
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
