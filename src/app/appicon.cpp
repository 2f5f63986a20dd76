#include "app/appicon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qel {

QImage drawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 256 x 256 grid.
    p.scale(size / 256.0, size / 256.0);

    QLinearGradient cover(0, 16, 0, 240);
    cover.setColorAt(0, QColor(128, 30, 45));
    cover.setColorAt(1, QColor(74, 14, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(12, 12, 232, 232), 44, 44);

    // The cross, in gold.
    p.setBrush(QColor(236, 188, 76));
    p.drawRoundedRect(QRectF(117, 30, 22, 72), 4, 4);
    p.drawRoundedRect(QRectF(96, 48, 64, 20), 4, 4);

    // The open book: two pages meeting at the spine.
    const QColor paper(251, 246, 233);
    const QColor ink(150, 120, 110);
    for (const int side : {-1, 1}) {
        const auto x = [side](qreal dx) { return 128 + side * dx; };
        QPainterPath page;
        page.moveTo(x(4), 122);
        page.cubicTo(x(30), 108, x(70), 106, x(100), 114);
        page.lineTo(x(100), 212);
        page.cubicTo(x(70), 204, x(30), 206, x(4), 220);
        page.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(paper);
        p.drawPath(page);
        p.setPen(QPen(ink, 6, Qt::SolidLine, Qt::RoundCap));
        for (int line = 0; line < 4; ++line) {
            const qreal y = 136 + line * 20;
            p.drawLine(QPointF(x(20), y), QPointF(x(84), y - 4));
        }
    }
    p.setPen(QPen(QColor(60, 10, 20), 4));
    p.drawLine(QPointF(128, 120), QPointF(128, 222));
    return image;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : kAppIconSizes)
        icon.addPixmap(QPixmap::fromImage(drawAppIcon(size)));
    return icon;
}

} // namespace qel
