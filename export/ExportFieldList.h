#pragma once

// A list box of export fields whose selection can be dragged to itself or to its partner list.

#include <QListWidget>

class ExportFieldList : public QListWidget {
    Q_OBJECT
public:
    explicit ExportFieldList(QWidget* parent = nullptr);

signals:
    // Fields of the list named sourceName dropped at index: an item's row, the item count below
    // the last item, -1 outside the items' area.
    void fieldsDropped(const QString& sourceName, int index);
    // A double click anywhere in the list, after the list has handled it.
    void listDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Drops on the frame or the scroll bars, outside the items' area.
    bool event(QEvent* event) override;

private:
    int dropIndex(const QPoint& viewportPoint) const;
};
