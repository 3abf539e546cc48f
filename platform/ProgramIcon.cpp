#include "ProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon programIcon()
{
    QSvgRenderer renderer(QStringLiteral(":/ProgramIcon.svg"));
    QIcon icon;
    // Drawn at each size a window system asks for, so no size is a scaled bitmap.
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
