#include "ExportFieldList.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>

namespace {

// A drag of fields carries the object name of the list it came from.
const QString fieldDragFormat = QStringLiteral("application/x-corvane-export-fields");

QString dragSourceName(const QMimeData* data)
{
    return QString::fromUtf8(data->data(fieldDragFormat));
}

}  // namespace

ExportFieldList::ExportFieldList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
}

void ExportFieldList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    emit listDoubleClicked();
}

void ExportFieldList::startDrag(Qt::DropActions)
{
    if (selectedItems().isEmpty())
        return;
    auto* data = new QMimeData;
    data->setData(fieldDragFormat, objectName().toUtf8());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

void ExportFieldList::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(fieldDragFormat))
        event->acceptProposedAction();
}

void ExportFieldList::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasFormat(fieldDragFormat))
        event->acceptProposedAction();
}

void ExportFieldList::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasFormat(fieldDragFormat))
        return;
    event->acceptProposedAction();
    emit fieldsDropped(dragSourceName(event->mimeData()), dropIndex(event->position().toPoint()));
}

bool ExportFieldList::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData()->hasFormat(fieldDragFormat))
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData()->hasFormat(fieldDragFormat)) {
            drop->acceptProposedAction();
            emit fieldsDropped(dragSourceName(drop->mimeData()), -1);
        }
        return true;
    }
    default:
        return QListWidget::event(event);
    }
}

int ExportFieldList::dropIndex(const QPoint& viewportPoint) const
{
    if (!viewport()->rect().contains(viewportPoint))
        return -1;
    const QModelIndex index = indexAt(viewportPoint);
    return index.isValid() ? index.row() : count();
}
