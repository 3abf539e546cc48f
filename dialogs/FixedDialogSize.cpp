#include "FixedDialogSize.h"

#include <QLayout>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
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

int textColumnWidth(const QWidget* view, const QString& text)
{
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    // A last glyph's ink may reach past the text's advance.
    const QFontMetrics metrics = view->fontMetrics();
    return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1) + 2 * margin;
}

int textRowHeight(const QWidget* view)
{
    return view->fontMetrics().height() + 2;
}
