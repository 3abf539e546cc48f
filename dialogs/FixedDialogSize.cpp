#include "FixedDialogSize.h"

#include <QLayout>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

QSize fixedDialogSize(const QLayout* layout, const QSize& designed)
{
    QSize size = designed.expandedTo(layout->totalMinimumSize());
    if (layout->hasHeightForWidth())
        size.setHeight(std::max(size.height(), layout->totalMinimumHeightForWidth(size.width())));
    return size;
}

int captionWidth(const QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect caption = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return button->fontMetrics().horizontalAdvance(button->text()) + option.rect.width() - caption.width();
}
