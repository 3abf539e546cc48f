#pragma once

// Tool-bar pictures drawn in the colour scheme's own colours, so they read on light and dark tool
// bars alike, at whatever size and pixel ratio the screen asks for. A disabled one is drawn faded.

#include <QIcon>
#include <functional>

class QPainter;
class QRectF;

// Draws the picture into the box with the painter's brush colour.
using GlyphDrawing = std::function<void(QPainter& painter, const QRectF& box)>;

QIcon glyphIcon(const GlyphDrawing& draw);
// A short text as a picture, such as "Aa".
QIcon textGlyphIcon(const QString& text);

void drawCross(QPainter& painter, const QRectF& box);
void drawPlay(QPainter& painter, const QRectF& box);
void drawPause(QPainter& painter, const QRectF& box);
void drawStop(QPainter& painter, const QRectF& box);
