#pragma once

// The folders of a file system model without the hidden ones (names that begin with "."), but for
// those on the way to one folder: the model lists them all, so a hidden folder opens whatever was
// listed before.

#include <QSortFilterProxyModel>

class QFileSystemModel;

class HiddenFolderFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    // Takes the model over.
    HiddenFolderFilter(QFileSystemModel* folders, QObject* parent);

    // As the model's own, for the rows shown.
    using QSortFilterProxyModel::index;
    QModelIndex index(const QString& path) const;
    QString filePath(const QModelIndex& index) const;

    // The folder whose hidden folders on its way, itself included, are shown; the others go.
    void showWayTo(const QString& path);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QFileSystemModel* model;
    QString shownPath;
};
