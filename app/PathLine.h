#pragma once

#include <QLabel>

// The one-line path under the grid. A path too long for the line is shortened in its middle, so
// that its start and its file name show, and the whole line is its tool tip; a long path never
// widens the window.
class PathLine : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
