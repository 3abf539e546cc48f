#pragma once

// Dialogs of a fixed size keep their designed size where it holds their texts, and grow where this
// desktop's font needs more room than the design gives.

#include <QSize>

class QLayout;
class QPushButton;
class QString;
class QWidget;

// The smallest size the layout takes with every wrapped text whole, and no smaller than designed.
QSize fixedDialogSize(const QLayout* layout, const QSize& designed);

// The width a button needs to show its caption whole: the caption and the style's frame around it.
int captionWidth(const QPushButton* button);

// The width a column of a view needs to show a text whole: the text and the margin the style leaves
// at either side of an item's text.
int textColumnWidth(const QWidget* view, const QString& text);
// The height a row of one line of text takes in a view, grid line included: the font's height and a
// pixel above and below.
int textRowHeight(const QWidget* view);
