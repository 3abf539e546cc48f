#pragma once

// The folder tree of the main window and of the folder-browse dialog: the file system's folders
// under "/", without hidden ones but those on the way to a folder it was browsed to. A selection is
// reported by changed() once it has settled for 150 ms, so walking through the tree with the keys
// does not load every folder passed. Only a selection counts: the row the keyboard focus rests on is
// no chosen folder. Only the left button and the keys select.

#include <QTimer>
#include <QTreeView>

class HiddenFolderFilter;

class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr);

    // Empty while no folder is selected.
    QString selectedPath() const;
    // Expands the tree down to an existing folder, selects it and scrolls it into view.
    void browseTo(const QString& path);
    // Forgets a selection not reported yet; true when there was one.
    bool cancelPendingChange();
    // Reads every folder again from the disk, keeping the expanded folders and the selection.
    void refresh();

    static constexpr int changeDelay = 150;

signals:
    void changed();
    // At once, on every change of the selection.
    void selectedPathChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void useNewModel();
    void collectExpanded(const QModelIndex& parent, QStringList& paths) const;
    void keepBrowsedFolderInView();

    HiddenFolderFilter* folders = nullptr;
    QTimer changeTimer;
    QString selectionPath;   // as of the last change of the selection
    // The folder browsed to: kept in view while the folders above it are still arriving, until
    // the user takes the tree in hand.
    QString browsedFolder;
};
