#include "PathLine.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

QSize PathLine::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

bool PathLine::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text().trimmed(), this);
        return true;
    }
    return QLabel::event(event);
}

void PathLine::paintEvent(QPaintEvent* event)
{
    const QRect room = contentsRect();
    // A line that fits is the label's own, which the mouse can select.
    if (fontMetrics().horizontalAdvance(text()) <= room.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event);
    QPainter painter(this);
    style()->drawItemText(&painter, room, alignment(), palette(), isEnabled(),
                          fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width()), foregroundRole());
}
