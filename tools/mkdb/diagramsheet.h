#pragma once

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cmath>
#include <string>

// The sheet the photo diagrams are drawn on: a title, Korean text, measures, pointers.
namespace qel::mkdb::diagram {

constexpr int kWidth = 560;
constexpr int kHeight = 380;

inline const QColor kInk(0x30, 0x30, 0x30);
inline const QColor kGold(0xe3, 0xc0, 0x4a);
inline const QColor kBronze(0xb8, 0x7d, 0x4b);
inline const QColor kLinen(0xf3, 0xee, 0xdc);
inline const QColor kWood(0xc9, 0xa2, 0x6b);
inline const QColor kSilver(0xcf, 0xd3, 0xd8);
inline const QColor kStone(0xe4, 0xdc, 0xc8);

// The Korean faces the program shows its text in.
inline QFont font(int pixels, bool bold = false) {
    QFont f;
    f.setFamilies(
        {QStringLiteral("UnDotum"), QStringLiteral("Baekmuk Gulim"), QStringLiteral("UnBatang")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

class Sheet {
public:
    explicit Sheet(const QString& title) : image_(kWidth, kHeight, QImage::Format_RGB32) {
        image_.fill(Qt::white);
        p.begin(&image_);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(font(16, true));
        p.setPen(kInk);
        p.drawText(QRect(0, 6, kWidth, 22), Qt::AlignCenter, title);
        p.setFont(font(12));
    }

    // Text centred on a point, or starting there.
    void text(double x, double y, const QString& s, bool centred = true, int size = 12) {
        p.save();
        p.setFont(font(size));
        p.setPen(kInk);
        const QRectF box = centred ? QRectF(x - 150, y - 9, 300, 18) : QRectF(x, y - 9, 400, 18);
        p.drawText(box, (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, s);
        p.restore();
    }
    // A note of up to that many lines along the bottom edge.
    void note(const QString& s, int lines = 2) {
        p.save();
        p.setFont(font(11));
        p.setPen(QColor(0x60, 0x60, 0x60));
        const int height = 16 * lines;
        p.drawText(QRect(10, kHeight - 4 - height, kWidth - 20, height),
                   Qt::AlignCenter | Qt::TextWordWrap, s);
        p.restore();
    }
    // A measurement with arrows at both ends.
    void measure(QPointF a, QPointF b, const QString& s, QPointF textAt) {
        p.save();
        p.setPen(QPen(QColor(0x20, 0x50, 0x90), 1));
        p.drawLine(a, b);
        const double angle = std::atan2(b.y() - a.y(), b.x() - a.x());
        for (auto [tip, dir] : {std::pair{a, angle}, std::pair{b, angle + M_PI}}) {
            const QPointF l = tip + QPointF(std::cos(dir + 0.4) * 7, std::sin(dir + 0.4) * 7);
            const QPointF r = tip + QPointF(std::cos(dir - 0.4) * 7, std::sin(dir - 0.4) * 7);
            p.drawLine(tip, l);
            p.drawLine(tip, r);
        }
        p.setFont(font(11));
        p.drawText(QRectF(textAt.x() - 80, textAt.y() - 8, 160, 16), Qt::AlignCenter, s);
        p.restore();
    }
    // A leader line from a label to the thing it names.
    void pointer(QPointF from, QPointF to) {
        p.save();
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        p.drawLine(from, to);
        p.setBrush(QColor(0x80, 0x80, 0x80));
        p.drawEllipse(to, 1.8, 1.8);
        p.restore();
    }
    // North at the top, east to the right.
    void compass(double x, double y) {
        p.save();
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(x - 14, y), QPointF(x + 14, y));
        p.drawLine(QPointF(x, y - 14), QPointF(x, y + 14));
        p.setFont(font(10));
        p.drawText(QRectF(x - 8, y - 27, 16, 12), Qt::AlignCenter, QStringLiteral("북"));
        p.drawText(QRectF(x + 16, y - 6, 16, 12), Qt::AlignCenter, QStringLiteral("동"));
        p.drawText(QRectF(x - 8, y + 15, 16, 12), Qt::AlignCenter, QStringLiteral("남"));
        p.drawText(QRectF(x - 32, y - 6, 16, 12), Qt::AlignCenter, QStringLiteral("서"));
        p.restore();
    }
    void box(const QRectF& r, const QColor& fill, double width = 1.2) {
        p.setPen(QPen(kInk, width));
        p.setBrush(fill);
        p.drawRect(r);
    }

    std::string png() {
        p.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image_.save(&buffer, "PNG");
        return bytes.toStdString();
    }

    QPainter p;

private:
    QImage image_;
};

} // namespace qel::mkdb::diagram
