#include "GlyphIcon.h"

#include <QFont>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace {

class GlyphEngine : public QIconEngine {
public:
    explicit GlyphEngine(GlyphDrawing draw) : draw(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        // The colour is taken when drawn, so a change of the colour scheme reaches the picture.
        QColor colour = QGuiApplication::palette().color(QPalette::ButtonText);
        if (mode == QIcon::Disabled)
            colour.setAlphaF(0.35);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(colour);
        draw(*painter, QRectF(rect));
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new GlyphEngine(draw); }

private:
    GlyphDrawing draw;
};

// A point of the box given in fractions of its size.
QPointF at(const QRectF& box, qreal x, qreal y)
{
    return {box.left() + x * box.width(), box.top() + y * box.height()};
}

QRectF part(const QRectF& box, qreal x, qreal y, qreal width, qreal height)
{
    return {at(box, x, y), QSizeF(width * box.width(), height * box.height())};
}

}  // namespace

QIcon glyphIcon(const GlyphDrawing& draw)
{
    return QIcon(new GlyphEngine(draw));
}

QIcon textGlyphIcon(const QString& text)
{
    return glyphIcon([text](QPainter& painter, const QRectF& box) {
        QFont font = QGuiApplication::font();
        font.setBold(true);
        // Three characters need a smaller size to fit the box than two.
        font.setPixelSize(qMax(1, qRound(box.height() * (text.size() > 2 ? 0.42 : 0.54))));
        painter.setFont(font);
        painter.setPen(painter.brush().color());
        painter.drawText(box, Qt::AlignCenter, text);
    });
}

void drawCross(QPainter& painter, const QRectF& box)
{
    painter.setPen(QPen(painter.brush().color(), box.height() * 0.12, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at(box, 0.25, 0.25), at(box, 0.75, 0.75));
    painter.drawLine(at(box, 0.75, 0.25), at(box, 0.25, 0.75));
}

void drawPlay(QPainter& painter, const QRectF& box)
{
    const QPointF corners[] = {at(box, 0.3, 0.2), at(box, 0.8, 0.5), at(box, 0.3, 0.8)};
    painter.drawPolygon(corners, 3);
}

void drawPause(QPainter& painter, const QRectF& box)
{
    painter.drawRect(part(box, 0.27, 0.22, 0.16, 0.56));
    painter.drawRect(part(box, 0.57, 0.22, 0.16, 0.56));
}

void drawStop(QPainter& painter, const QRectF& box)
{
    painter.drawRect(part(box, 0.25, 0.25, 0.5, 0.5));
}
