// The file grid: cell texts, rows, sorting, column widths, row colours, moving rows, the popup
// menu and drag and drop.

#include "UnitMain.h"

#include "NameOrder.h"
#include "UnitUtilities.h"

#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTreeView>
#include <QSet>
#include <QUrl>
#include <algorithm>
#include <numeric>

namespace {

// Whole rows, consecutive ones as one range, so that selecting many rows stays quick.
QItemSelection rowSelection(const QAbstractItemModel& model, const QList<int>& sortedRows)
{
    QItemSelection selection;
    for (qsizetype first = 0; first < sortedRows.size();) {
        qsizetype last = first;
        while (last + 1 < sortedRows.size() && sortedRows[last + 1] == sortedRows[last] + 1)
            ++last;
        selection.select(model.index(sortedRows[first], 0), model.index(sortedRows[last], GridColumnCount - 1));
        first = last + 1;
    }
    return selection;
}

}  // namespace

void TFormMain::connectGrid()
{
    vtgrid->setDragEnabled(true);
    vtgrid->setAcceptDrops(true);
    vtgrid->setDragDropMode(QAbstractItemView::DragDrop);
    // Rows moved inside the grid are rebuilt by the drop itself; the view must not remove any.
    vtgrid->setDefaultDropAction(Qt::CopyAction);
    vtgrid->installEventFilter(this);
    vtgrid->viewport()->installEventFilter(this);
    vtgrid->header()->viewport()->installEventFilter(this);
    connect(vtgrid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!keepingPagesWhileReselecting)
            vtgridChange(gridFocusedRow());
    });
    connect(PageControlTag, &QTabWidget::currentChanged, this, &TFormMain::PageControlTagChange);
    connect(vtgrid->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { vtgridHeaderClick(column, Qt::LeftButton); });
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    // The header reports left clicks itself (not those that end a resize or a move); the other
    // buttons are taken here.
    if (watched == vtgrid->header()->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int column = vtgrid->header()->logicalIndexAt(mouse->position().toPoint());
        if (column >= 0 && mouse->button() != Qt::LeftButton)
            vtgridHeaderClick(column, mouse->button());
        return false;
    }
    if (watched == vtgrid && event->type() == QEvent::KeyPress)
        return vtgridKeyDown(*static_cast<QKeyEvent*>(event));
    if (watched != vtgrid->viewport())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        vtgridMouseUp(static_cast<QMouseEvent*>(event)->button());
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const int target = vtgrid->indexAt(drop->position().toPoint()).row();
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        vtgridDragDrop(drop->source() == vtgrid ? nullptr : drop->mimeData(), target);
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

QString TFormMain::vtgridGetText(int Node, int Column)
{
    if (Node < 0 || Node >= static_cast<int>(FileList.size())) {
        ui::showMessage(QStringLiteral("Error, trying to index a file that does not exist!"), ui::Icon::None);
        return {};
    }
    if (Column < -1 || Column >= GridColumnCount)
        return {};
    return gridCellText(*FileList[static_cast<std::size_t>(Node)], Column, activePage());
}

QVariant TFormMain::vtgridBeforeItemErase(int Node) const
{
    if (!UseGridColors || FileList.empty() || Node < 0 || Node >= static_cast<int>(FileList.size()))
        return {};
    const TMpegFile& file = *FileList[static_cast<std::size_t>(Node)];
    if (file.HasID3v1 && file.HasID3v2)
        return gridColor(ColorV1V2);
    if (file.HasID3v1)
        return gridColor(ColorV1);
    return gridColor(file.HasID3v2 ? ColorV2 : ColorNoTag);
}

void TFormMain::RebuildGrid()
{
    vtgridModel->setRows(static_cast<int>(FileList.size()));
}

void TFormMain::SortFiles(int Column)
{
    const int count = static_cast<int>(FileList.size());
    QStringList keys;
    keys.reserve(count);
    for (int row = 0; row < count; ++row) {
        const QString text = vtgridGetText(row, Column);
        keys.append(Column == 8 ? trackSortKey(text) : text);
    }
    const QCollator collator = nameOrder();
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return collator.compare(keys[a], keys[b]) < 0; });

    // The selection and the tag pages follow the files, not the row positions.
    QList<const TMpegFile*> selected;
    for (int row : gridSelectedRows())
        selected.append(FileList[static_cast<std::size_t>(row)].get());
    const int focused = gridFocusedRow();
    const TMpegFile* focusedFile = focused >= 0 ? FileList[static_cast<std::size_t>(focused)].get() : nullptr;

    std::vector<std::unique_ptr<TMpegFile>> sorted;
    sorted.reserve(FileList.size());
    for (int index : order)
        sorted.push_back(std::move(FileList[static_cast<std::size_t>(index)]));
    FileList = std::move(sorted);

    reselectFiles(selected, focusedFile);
    vtgridModel->repaint();
}

void TFormMain::reselectFiles(const QList<const TMpegFile*>& files, const TMpegFile* focused)
{
    const QSet<const TMpegFile*> wanted(files.cbegin(), files.cend());
    QList<int> rows;
    int current = -1;
    for (int row = 0; row < static_cast<int>(FileList.size()); ++row) {
        const TMpegFile* file = FileList[static_cast<std::size_t>(row)].get();
        if (wanted.contains(file))
            rows.append(row);
        if (file == focused)
            current = row;
    }
    keepingPagesWhileReselecting = true;
    vtgrid->selectionModel()->select(rowSelection(*vtgridModel, rows), QItemSelectionModel::ClearAndSelect);
    if (current >= 0)
        vtgrid->selectionModel()->setCurrentIndex(gridRowCell(current), QItemSelectionModel::NoUpdate);
    keepingPagesWhileReselecting = false;
}

void TFormMain::vtgridHeaderClick(int Column, Qt::MouseButton Button)
{
    if (Button == Qt::LeftButton) {
        SortFiles(Column);
        return;
    }
    const QFontMetrics metrics(vtgrid->font());
    int widest = 0;
    for (int row = 0; row < static_cast<int>(FileList.size()); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(vtgridGetText(row, Column)));
    setGridColumnWidth(Column, widest + 10);
}

void TFormMain::miMoveUpClick()
{
    const QList<int> selected = gridSelectedRows();
    if (selected.isEmpty() || selected.first() == 0)
        return;
    for (int row : selected)
        std::swap(FileList[static_cast<std::size_t>(row)], FileList[static_cast<std::size_t>(row - 1)]);
    RebuildGrid();
    QList<int> moved;
    for (int row : selected)
        moved.append(row - 1);
    vtgrid->selectionModel()->setCurrentIndex(gridRowCell(moved.last()), QItemSelectionModel::NoUpdate);
    vtgrid->selectionModel()->select(rowSelection(*vtgridModel, moved), QItemSelectionModel::ClearAndSelect);
}

void TFormMain::miMoveDownClick()
{
    const QList<int> selected = gridSelectedRows();
    const int last = static_cast<int>(FileList.size()) - 1;
    if (selected.isEmpty() || selected.last() == last)
        return;
    for (auto row = selected.crbegin(); row != selected.crend(); ++row)
        std::swap(FileList[static_cast<std::size_t>(*row)], FileList[static_cast<std::size_t>(*row + 1)]);
    RebuildGrid();
    QList<int> moved;
    for (int row : selected)
        moved.append(row + 1);
    vtgrid->selectionModel()->setCurrentIndex(gridRowCell(moved.first()), QItemSelectionModel::NoUpdate);
    vtgrid->selectionModel()->select(rowSelection(*vtgridModel, moved), QItemSelectionModel::ClearAndSelect);
}

void TFormMain::vtgridMouseUp(Qt::MouseButton Button)
{
    if (Button == Qt::RightButton && !FileList.empty() && !gridSelectedRows().isEmpty())
        Popup->popup(QCursor::pos());
}

// What the keyboard needs beyond the grid's own keys: the popup menu from the menu key or Shift+F10,
// at the selected row; and a first Down that selects the row the focus rests on, the first row of a
// freshly filled grid, rather than the row below it.
bool TFormMain::vtgridKeyDown(const QKeyEvent& Key)
{
    if (Key.key() == Qt::Key_Menu || (Key.key() == Qt::Key_F10 && Key.modifiers() == Qt::ShiftModifier)) {
        const QList<int> selected = gridSelectedRows();
        if (!FileList.empty() && !selected.isEmpty()) {
            const int row = selected.contains(gridFocusedRow()) ? gridFocusedRow() : selected.first();
            const QModelIndex cell = vtgridModel->index(row, 3);
            vtgrid->scrollTo(cell);
            Popup->popup(vtgrid->viewport()->mapToGlobal(QPoint(0, vtgrid->visualRect(cell).bottom())));
        }
        return true;
    }
    const QModelIndex current = vtgrid->currentIndex();
    if (Key.key() == Qt::Key_Down && Key.modifiers() == Qt::NoModifier && current.isValid()
        && !vtgrid->selectionModel()->hasSelection()) {
        vtgrid->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return true;
    }
    return false;
}

void TFormMain::miPopupRefreshClick()
{
    vtgridModel->repaint();
}

void TFormMain::vtgridDragDrop(const QMimeData* DataObject, int TargetRow)
{
    if (DataObject) {
        if (!DataObject->hasUrls())
            return;
        QStringList dropped;
        for (const QUrl& url : DataObject->urls()) {
            const QFileInfo info(url.toLocalFile());
            if (info.isFile()) {
                const QString suffix = info.suffix().toLower();
                if (suffix == QLatin1String("m3u") || suffix == QLatin1String("pls"))
                    LoadPlaylist(info.absoluteFilePath());
                else if (suffix == QLatin1String("mp3") || suffix == QLatin1String("mp2"))
                    dropped.append(info.absoluteFilePath());
            } else if (info.isDir()) {
                QStringList folderFiles;
                ListFiles(info.absoluteFilePath(), QStringLiteral("*.mp3"), folderFiles, true);
                dropped.append(folderFiles);
            }
        }
        sortNames(dropped);
        OpenFiles(dropped, true);
        if (OptionSortAfterOpen)
            SortFiles(3);
        return;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QList<int> selected = gridSelectedRows();
    const bool movable = TargetRow >= 0 && TargetRow < static_cast<int>(FileList.size()) &&
                         TargetRow != gridFocusedRow() && !selected.contains(TargetRow);
    if (movable) {
        const QString targetPath = FileList[static_cast<std::size_t>(TargetRow)]->FileName;
        QStringList movedPaths;
        for (auto row = selected.crbegin(); row != selected.crend(); ++row) {
            movedPaths.append(FileList[static_cast<std::size_t>(*row)]->FileName);
            FileList.erase(FileList.begin() + *row);
        }
        // The readers may report a moved file in a message box, which repaints the grid: its rows
        // must not outnumber the list meanwhile.
        RebuildGrid();
        std::vector<std::unique_ptr<TMpegFile>> moved;
        for (auto path = movedPaths.crbegin(); path != movedPaths.crend(); ++path) {
            moved.push_back(std::make_unique<TMpegFile>());
            try {
                moved.back()->ReadFromFile(*path);
            } catch (const std::exception&) {
                // The row stays, with what could be read; the readers have reported the file.
            }
        }
        // Looked for only now: the boxes let events through, and a folder chosen in the tree
        // meanwhile replaces the list; the moved rows then go to its end.
        const auto target = std::find_if(FileList.begin(), FileList.end(),
                                         [&targetPath](const auto& file) { return file->FileName == targetPath; });
        FileList.insert(target == FileList.end() ? target : target + 1, std::make_move_iterator(moved.begin()),
                        std::make_move_iterator(moved.end()));
    }
    RebuildGrid();
    QApplication::restoreOverrideCursor();
}

QList<int> TFormMain::gridSelectedRows() const
{
    QList<int> rows;
    for (const QItemSelectionRange& range : vtgrid->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int TFormMain::gridFocusedRow() const
{
    const QModelIndex current = vtgrid->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

// A cell of the row in its first visible column: from a hidden column the arrow keys start at the top.
QModelIndex TFormMain::gridRowCell(int row) const
{
    const QHeaderView* header = vtgrid->header();
    int visual = 0;
    while (visual < header->count() - 1 && header->isSectionHidden(header->logicalIndex(visual)))
        ++visual;
    return vtgridModel->index(row, header->logicalIndex(visual));
}

void TFormMain::selectGridRow(int row)
{
    vtgrid->selectionModel()->setCurrentIndex(gridRowCell(row),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
