#pragma once

// Dialogs of a fixed size keep their designed size where it holds their texts, and grow where this
// desktop's font needs more room than the design gives.

#include <QSize>

class QLayout;
class QPushButton;

// The smallest size the layout takes with every wrapped text whole, and no smaller than designed.
QSize fixedDialogSize(const QLayout* layout, const QSize& designed);

// The width a button needs to show its caption whole: the caption and the style's frame around it.
int captionWidth(const QPushButton* button);
