#include "app/toolbaricons.h"

#include "platform/commands.h"
#include "platform/highlightcommands.h"
#include "richtext/highlightmarks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qel {
namespace {

const QColor kInk(40, 40, 60);
const QColor kPaper(250, 250, 240);
const QColor kAccent(30, 100, 200);

void page(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void lines(QPainter& p, qreal left, qreal top, qreal width, int count, qreal step = 3) {
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * step), QPointF(left + width, top + i * step));
}

void magnifier(QPainter& p, QPointF centre) {
    p.setPen(QPen(kAccent, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 5, 5);
    p.drawLine(centre + QPointF(3.5, 3.5), centre + QPointF(8, 8));
}

void arrow(QPainter& p, bool right, qreal y, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPolygonF head;
    if (right)
        head << QPointF(20, y) << QPointF(13, y - 6) << QPointF(13, y + 6);
    else
        head << QPointF(4, y) << QPointF(11, y - 6) << QPointF(11, y + 6);
    p.drawPolygon(head);
    p.fillRect(right ? QRectF(4, y - 2, 10, 4) : QRectF(10, y - 2, 10, 4), color);
}

void hangulLetter(QPainter& p, const QRectF& r, const QString& text, const QColor& color) {
    QFont f = p.font();
    f.setPixelSize(static_cast<int>(r.height()));
    f.setBold(true);
    p.setFont(f);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

void windows(QPainter& p, const std::initializer_list<QRectF>& rects) {
    for (const QRectF& r : rects) {
        page(p, r);
        p.fillRect(QRectF(r.left(), r.top(), r.width(), 2.5), kAccent);
    }
}

QColor highlightColour(int colour) {
    const std::uint32_t c = lightHighlightColours()[colour - 1];
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

bool draw(QPainter& p, int id) {
    if (id >= cmd::Highlight1 && id <= cmd::Highlight5) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(highlightColour(id - cmd::Highlight1 + 1));
        p.drawRect(QRectF(3, 3, 18, 18));
        return true;
    }
    switch (id) {
    case cmd::HighlightMenu: { // a marker over a yellow stroke
        p.fillRect(QRectF(2, 15, 20, 6), highlightColour(1));
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(230, 200, 40));
        p.drawPolygon(QPolygonF{QPointF(9, 16), QPointF(19, 4), QPointF(23, 8), QPointF(13, 19)});
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF{QPointF(9, 16), QPointF(13, 19), QPointF(8, 21)});
        return true;
    }
    case cmd::HighlightList: // a list whose lines are highlighted
        page(p, QRectF(4, 2, 16, 20));
        for (int i = 0; i < 4; ++i)
            p.fillRect(QRectF(6, 5 + i * 4, 12, 3), highlightColour(1 + i));
        lines(p, 7, 6.5, 10, 4, 4);
        return true;
    case cmd::ToggleShortcutBar: // a tree
        page(p, QRectF(3, 3, 18, 18));
        p.setPen(QPen(kAccent, 1.5));
        p.drawLine(7, 7, 7, 17);
        for (int y : {9, 13, 17})
            p.drawLine(7, y, 11, y);
        lines(p, 12, 9, 6, 3, 4);
        return true;
    case cmd::VerseSearch:
        page(p, QRectF(2, 2, 13, 17));
        lines(p, 4, 6, 9, 4);
        magnifier(p, QPointF(14, 14));
        return true;
    case cmd::WordSearch:
        hangulLetter(p, QRectF(1, 1, 13, 13), QStringLiteral("가"), kInk);
        magnifier(p, QPointF(14, 14));
        return true;
    case cmd::NoteList:
        page(p, QRectF(4, 2, 16, 20));
        p.setPen(QPen(kAccent, 1.5));
        for (int y : {7, 11, 15, 19})
            p.drawPoint(QPointF(7, y));
        lines(p, 9, 7, 8, 4, 4);
        return true;
    case cmd::ToggleViewMode: // verse layout: numbered lines
        page(p, QRectF(2, 3, 20, 18));
        p.setPen(QPen(QColor(0, 127, 0), 1.5));
        for (int y : {7, 12, 17})
            p.drawLine(4, y, 5, y);
        lines(p, 7, 7, 12, 3, 5);
        return true;
    case cmd::FontDialog:
        hangulLetter(p, QRectF(0, 0, 24, 24), QStringLiteral("가"), kInk);
        return true;
    case cmd::ColorDialog: {
        const QColor colors[] = {QColor(220, 40, 40), QColor(40, 160, 40), QColor(40, 80, 220),
                                 QColor(230, 180, 20)};
        p.setPen(QPen(kInk, 1));
        for (int i = 0; i < 4; ++i) {
            p.setBrush(colors[i]);
            p.drawEllipse(QRectF(2 + (i % 2) * 10, 2 + (i / 2) * 10, 9, 9));
        }
        return true;
    }
    case cmd::ParallelDialog: // two editions side by side, one ticked
        page(p, QRectF(2, 3, 9, 18));
        page(p, QRectF(13, 3, 9, 18));
        lines(p, 4, 8, 5, 4);
        lines(p, 15, 8, 5, 4);
        p.setPen(QPen(QColor(0, 127, 0), 2));
        p.drawPolyline(QPolygonF{QPointF(12, 15), QPointF(15, 19), QPointF(22, 9)});
        return true;
    case cmd::CascadeWindows:
        windows(p, {QRectF(2, 2, 13, 10), QRectF(6, 7, 13, 10), QRectF(10, 12, 12, 10)});
        return true;
    case cmd::TileVertically:
        windows(p, {QRectF(2, 3, 9, 18), QRectF(13, 3, 9, 18)});
        return true;
    case cmd::TileHorizontally:
        windows(p, {QRectF(2, 2, 20, 9), QRectF(2, 13, 20, 9)});
        return true;
    case cmd::Help:
        hangulLetter(p, QRectF(0, 0, 24, 24), QStringLiteral("?"), kAccent);
        return true;
    case cmd::Print:
        page(p, QRectF(7, 2, 10, 8));
        p.setBrush(QColor(180, 180, 190));
        p.setPen(QPen(kInk, 1.2));
        p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
        page(p, QRectF(6, 15, 12, 7));
        return true;
    case cmd::ToggleSectionTitles: // a side list of titles
        page(p, QRectF(2, 3, 20, 18));
        p.fillRect(QRectF(3, 4, 6, 16), QColor(127, 0, 0, 60));
        lines(p, 4, 7, 4, 4, 4);
        lines(p, 11, 7, 9, 4, 4);
        return true;
    case cmd::ToggleRelated: // a page with a link below
        page(p, QRectF(2, 2, 20, 13));
        lines(p, 4, 6, 16, 3);
        p.setPen(QPen(QColor(0, 0, 255), 2));
        p.drawEllipse(QRectF(4, 16, 8, 6));
        p.drawEllipse(QRectF(11, 16, 8, 6));
        return true;
    case cmd::ToggleNoteBar: { // a pencil over a page
        page(p, QRectF(2, 2, 16, 20));
        lines(p, 4, 6, 10, 3);
        p.setPen(QPen(QColor(200, 120, 0), 3));
        p.drawLine(10, 20, 21, 9);
        return true;
    }
    case cmd::BibleLibrary: // a book with a downward arrow
        page(p, QRectF(3, 3, 12, 18));
        lines(p, 5, 7, 8, 3);
        p.setPen(QPen(QColor(0, 127, 0), 2.5));
        p.drawLine(QPointF(18, 4), QPointF(18, 17));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 127, 0));
        p.drawPolygon(QPolygonF{QPointF(13, 14), QPointF(23, 14), QPointF(18, 21)});
        return true;
    case cmd::SyncMove:
        arrow(p, true, 8, kAccent);
        arrow(p, true, 16, QColor(0, 127, 0));
        return true;
    case cmd::Back:
        arrow(p, false, 12, kAccent);
        return true;
    case cmd::Forward:
        arrow(p, true, 12, kAccent);
        return true;
    case cmd::PreviousWindow:
        windows(p, {QRectF(9, 6, 13, 12)});
        arrow(p, false, 12, QColor(0, 127, 0));
        return true;
    case cmd::NextWindow:
        windows(p, {QRectF(2, 6, 13, 12)});
        arrow(p, true, 12, QColor(0, 127, 0));
        return true;
    default:
        return false;
    }
}

} // namespace

QIcon commandIcon(int commandId) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!draw(painter, commandId))
        return {};
    painter.end();
    return QIcon(pixmap);
}

} // namespace qel
