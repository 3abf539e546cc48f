#include "HiddenFolderFilter.h"

#include <QFileSystemModel>

HiddenFolderFilter::HiddenFolderFilter(QFileSystemModel* folders, QObject* parent)
    : QSortFilterProxyModel(parent), model(folders)
{
    model->setParent(this);
    setSourceModel(model);
}

QModelIndex HiddenFolderFilter::index(const QString& path) const
{
    return mapFromSource(model->index(path));
}

QString HiddenFolderFilter::filePath(const QModelIndex& index) const
{
    return model->filePath(mapToSource(index));
}

void HiddenFolderFilter::showWayTo(const QString& path)
{
    if (path == shownPath)
        return;
    shownPath = path;
    invalidateFilter();
}

bool HiddenFolderFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const QModelIndex folder = model->index(sourceRow, 0, sourceParent);
    if (!model->fileName(folder).startsWith(QLatin1Char('.')))
        return true;
    const QString path = model->filePath(folder);
    return shownPath == path || shownPath.startsWith(path + QLatin1Char('/'));
}
