#include "mkdb/photodiagrams.h"

#include "mkdb/diagramsheet.h"
#include "mkdb/photofigures.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>

namespace qel::mkdb {
namespace {

using namespace diagram;

// Horns on the top corners of an altar seen from the front.
void horns(Sheet& s, const QRectF& top, double size, const QColor& fill) {
    for (double x : {top.left(), top.right() - size}) {
        QPainterPath horn;
        horn.moveTo(x, top.top());
        horn.lineTo(x + size, top.top());
        horn.lineTo(x + (x == top.left() ? 0 : size), top.top() - size * 1.2);
        horn.closeSubpath();
        s.p.setBrush(fill);
        s.p.drawPath(horn);
    }
}

// Poles through rings, seen end-on along the long side.
void poleAlong(Sheet& s, double left, double right, double y, const QColor& fill) {
    s.p.setPen(QPen(kInk, 1));
    s.p.setBrush(fill);
    s.p.drawRoundedRect(QRectF(left, y - 3, right - left, 6), 3, 3);
}

std::string tabernacleCourt() {
    Sheet s(QStringLiteral("성막과 뜰의 배치 (출 26-27장)"));
    // 5 px to the cubit: the court is 100 by 50 cubits, west at the left.
    const double u = 4.6, x0 = 40, y0 = 62;
    auto at = [&](double cx, double cy) { return QPointF(x0 + cx * u, y0 + cy * u); };
    s.box(QRectF(at(0, 0), at(100, 50)), QColor(0xfa, 0xf6, 0xe8), 2);
    // The gate: 20 cubits in the middle of the east side.
    s.p.setPen(QPen(QColor(0x9a, 0x3b, 0x3b), 5));
    s.p.drawLine(at(100, 15), at(100, 35));
    // The tent, 30 by 10 cubits; the most holy place a square of 10 in the western half.
    s.box(QRectF(at(20, 20), at(30, 30)), QColor(0xe9, 0xd8, 0xa6), 1.5);
    s.box(QRectF(at(30, 20), at(50, 30)), kLinen, 1.5);
    s.p.setPen(QPen(QColor(0x5a, 0x3d, 0x8a), 3));
    s.p.drawLine(at(30, 20), at(30, 30));
    // Furniture: ark; table north, lampstand south, incense altar before the veil.
    s.box(QRectF(at(23.75, 24.25), at(26.25, 25.75)), kGold);
    s.box(QRectF(at(36, 21), at(38, 22)), kGold);
    s.p.setBrush(kGold);
    s.p.drawEllipse(at(37, 28.5), 3, 3);
    s.box(QRectF(at(31.5, 24.5), at(32.5, 25.5)), kGold);
    // The bronze altar, 5 by 5 cubits, and the laver between it and the tent.
    s.box(QRectF(at(65, 22.5), at(70, 27.5)), kBronze);
    s.p.setBrush(kBronze);
    s.p.drawEllipse(at(57, 25), 6, 6);

    s.text(at(25, 18).x(), at(25, 18).y() - 4, QStringLiteral("지성소"));
    s.text(at(40, 18).x(), at(40, 18).y() - 4, QStringLiteral("성소"));
    s.text(at(25, 33).x(), at(25, 33).y() + 4, QStringLiteral("10 × 10"));
    s.text(at(40, 33).x(), at(40, 33).y() + 4, QStringLiteral("20 × 10"));
    s.pointer(at(18, 42), at(25, 25.75));
    s.text(at(14, 44).x(), at(14, 44).y() + 2, QStringLiteral("언약궤"));
    s.pointer(at(37, 10), at(37, 21));
    s.text(at(37, 8).x(), at(37, 8).y(), QStringLiteral("진설병 상 (북쪽)"));
    s.pointer(at(44, 42), at(37, 28.5));
    s.text(at(47, 44).x(), at(47, 44).y() + 2, QStringLiteral("등잔대 (남쪽)"));
    s.pointer(at(30, 42), at(32, 25.5));
    s.text(at(30, 44).x() - 6, at(30, 44).y() + 2, QStringLiteral("분향단"));
    s.text(at(57, 32).x(), at(57, 32).y(), QStringLiteral("물두멍"));
    s.text(at(67.5, 32).x(), at(67.5, 32).y(), QStringLiteral("번제단"));
    s.text(at(67.5, 35).x(), at(67.5, 35).y() + 2, QStringLiteral("5 × 5"));
    s.text(at(93, 25).x(), at(93, 25).y(), QStringLiteral("문"));
    s.text(at(93, 28).x(), at(93, 28).y() + 2, QStringLiteral("20 규빗"));
    s.measure(at(0, 53), at(100, 53), QStringLiteral("100 규빗"), at(50, 56));
    s.measure(at(-3, 0), at(-3, 50), QString(), at(-3, 25));
    s.text(at(-5, 25).x() - 6, at(-5, 25).y(), QStringLiteral("50"), true, 11);
    s.compass(kWidth - 36, 48);
    s.note(
        QStringLiteral("크기는 규빗. 성막의 크기(30 × 10 규빗)는 널판의 수로 계산한 흔한 복원이며, "
                       "기구의 자리는 출 26:33-35, 30:6, 30:18, 40:29을 따른 것이다."));
    return s.png();
}

std::string ark() {
    Sheet s(QStringLiteral("언약궤 (출 25:10-22)"));
    // 100 px to the cubit: 2.5 long, 1.5 high.
    const double u = 110, left = 142, bottom = 300;
    const QRectF chest(left, bottom - 1.5 * u, 2.5 * u, 1.5 * u);
    s.box(chest, kGold, 1.5);
    // The gold moulding round the top, and the mercy seat on it.
    s.box(QRectF(chest.left() - 4, chest.top() + 10, chest.width() + 8, 6), kGold);
    s.box(QRectF(chest.left() - 2, chest.top() - 8, chest.width() + 4, 8),
          QColor(0xf0, 0xd0, 0x60));
    // The cherubim at both ends, facing each other, wings spread over the lid.
    for (int side : {-1, 1}) {
        const double x = side < 0 ? chest.left() + 26 : chest.right() - 26;
        s.p.setPen(QPen(kInk, 1.2));
        s.p.setBrush(kGold);
        s.p.drawEllipse(QPointF(x, chest.top() - 58), 10, 11);
        s.p.drawRoundedRect(QRectF(x - 11, chest.top() - 47, 22, 39), 6, 6);
        QPainterPath wing;
        wing.moveTo(x, chest.top() - 40);
        // Towards the other cherub, covering the lid (Exod 25:20).
        wing.cubicTo(x - side * 30, chest.top() - 95, x - side * 70, chest.top() - 70,
                     x - side * 100, chest.top() - 40);
        wing.lineTo(x - side * 20, chest.top() - 28);
        wing.closeSubpath();
        s.p.drawPath(wing);
    }
    // The poles through rings at the feet.
    poleAlong(s, chest.left() - 50, chest.right() + 50, bottom - 22, kGold);
    for (double x : {chest.left() + 12, chest.right() - 12}) {
        s.p.setBrush(Qt::NoBrush);
        s.p.drawEllipse(QPointF(x, bottom - 22), 7, 7);
    }
    s.pointer(QPointF(470, 110), QPointF(chest.right() - 20, chest.top() - 60));
    s.text(490, 102, QStringLiteral("그룹 (둘)"));
    s.pointer(QPointF(95, 130), QPointF(chest.left() + 10, chest.top() - 4));
    s.text(80, 122, QStringLiteral("속죄소 (덮개)"));
    s.pointer(QPointF(70, 230), QPointF(chest.left() - 4, chest.top() + 13));
    s.text(62, 222, QStringLiteral("금테"));
    s.pointer(QPointF(475, 320), QPointF(chest.right() + 30, bottom - 22));
    s.text(495, 330, QStringLiteral("채 (조각목에 금)"));
    s.pointer(QPointF(120, 320), QPointF(chest.left() + 12, bottom - 16));
    s.text(110, 330, QStringLiteral("금고리"));
    s.measure(QPointF(chest.left(), bottom + 14), QPointF(chest.right(), bottom + 14),
              QStringLiteral("길이 2.5 규빗"), QPointF(chest.center().x(), bottom + 26));
    s.measure(QPointF(chest.right() + 64, chest.top()), QPointF(chest.right() + 64, bottom),
              QString(), QPointF());
    s.text(chest.right() + 92, chest.center().y(), QStringLiteral("높이 1.5"));
    s.text(chest.center().x(), chest.center().y(), QStringLiteral("너비 1.5 규빗 (안쪽으로)"));
    s.note(
        QStringLiteral("조각목으로 만들어 안팎을 금으로 입혔다. 그룹의 모습은 성경에 자세히 나오지 "
                       "않아 그림은 한 가지 추정이다. 1규빗은 약 45cm로 보는 견해가 많다."));
    return s.png();
}

std::string lampstand() {
    Sheet s(QStringLiteral("등잔대 (출 25:31-40)"));
    const double cx = kWidth / 2.0, base = 300, top = 92;
    s.p.setPen(QPen(QColor(0x9c, 0x7a, 0x1c), 7, Qt::SolidLine, Qt::RoundCap));
    s.p.setBrush(Qt::NoBrush);
    s.p.drawLine(QPointF(cx, top), QPointF(cx, base));
    // Three branches on each side, rising to the height of the shaft.
    const double spans[] = {52, 100, 148};
    for (double r : spans) {
        QPainterPath arm;
        arm.moveTo(cx - r, top);
        arm.cubicTo(cx - r, top + r * 1.05, cx + r, top + r * 1.05, cx + r, top);
        s.p.drawPath(arm);
    }
    // The base.
    s.p.setPen(QPen(kInk, 1.2));
    s.p.setBrush(kGold);
    QPainterPath foot;
    foot.moveTo(cx - 60, base + 24);
    foot.lineTo(cx + 60, base + 24);
    foot.lineTo(cx + 18, base);
    foot.lineTo(cx - 18, base);
    foot.closeSubpath();
    s.p.drawPath(foot);
    // Seven lamps, and almond-blossom cups: three on each branch, four on the shaft.
    for (double x : {cx - 148, cx - 100, cx - 52, cx, cx + 52, cx + 100, cx + 148}) {
        QPainterPath lamp;
        lamp.moveTo(x - 13, top - 3);
        lamp.quadTo(x, top + 9, x + 13, top - 3);
        lamp.lineTo(x + 17, top - 7);
        lamp.closeSubpath();
        s.p.drawPath(lamp);
        s.p.setBrush(QColor(0xf2, 0x8c, 0x28));
        s.p.drawEllipse(QPointF(x + 15, top - 13), 3, 6);
        s.p.setBrush(kGold);
    }
    auto cup = [&](QPointF at) { s.p.drawEllipse(at, 4.5, 3.5); };
    for (double r : spans)
        // Three along each branch, on both sides: points of the branch's curve.
        for (double t : {0.1, 0.22, 0.34})
            for (double u : {t, 1 - t}) {
                const double a = (1 - u) * (1 - u) * (1 - u), b = 3 * (1 - u) * (1 - u) * u,
                             c = 3 * (1 - u) * u * u, d = u * u * u;
                cup(QPointF(cx + r * (-a - b + c + d), top + (b + c) * r * 1.05));
            }
    for (double y : {top + 30, top + 120, top + 165, base - 20})
        cup(QPointF(cx, y));
    s.pointer(QPointF(90, 70), QPointF(cx - 148, top - 4));
    s.text(70, 62, QStringLiteral("등잔 일곱"));
    s.pointer(QPointF(470, 150), QPointF(cx + 100, top + 40));
    s.text(490, 158, QStringLiteral("가지 (양쪽에 셋씩)"));
    s.pointer(QPointF(420, 260), QPointF(cx + 4, top + 165));
    s.text(470, 268, QStringLiteral("줄기"));
    s.pointer(QPointF(110, 220), QPointF(cx - 124, top + 62));
    s.text(90, 228, QStringLiteral("살구꽃 모양의 잔"));
    s.note(QStringLiteral("순금 한 달란트로 쳐서 만들었다(출 25:39). 크기는 성경에 나오지 않는다. "
                          "가지를 둥글게 그리는 것이 전통이나, 곧은 가지로 보는 견해도 있다."));
    return s.png();
}

std::string incenseAltar() {
    Sheet s(QStringLiteral("분향단 (출 30:1-10)"));
    // 90 px to the cubit: 1 square, 2 high.
    const double u = 95, cx = kWidth / 2.0, bottom = 318;
    const QRectF body(cx - u / 2, bottom - 2 * u, u, 2 * u);
    s.box(body, kGold, 1.5);
    horns(s, body, 14, kGold);
    s.box(QRectF(body.left() - 5, body.top() + 12, body.width() + 10, 7), QColor(0xf0, 0xd0, 0x60));
    poleAlong(s, cx - 130, cx + 130, body.top() + 34, kWood);
    for (double x : {body.left() + 10, body.right() - 10}) {
        s.p.setBrush(Qt::NoBrush);
        s.p.drawEllipse(QPointF(x, body.top() + 34), 6, 6);
    }
    s.pointer(QPointF(150, 80), QPointF(body.left() + 4, body.top() - 10));
    s.text(132, 72, QStringLiteral("뿔 (네 모퉁이)"));
    s.pointer(QPointF(430, 110), QPointF(body.right() + 4, body.top() + 15));
    s.text(450, 102, QStringLiteral("금테"));
    s.pointer(QPointF(430, 160), QPointF(cx + 110, body.top() + 34));
    s.text(450, 168, QStringLiteral("채 (테 아래 고리에)"));
    s.measure(QPointF(body.left(), bottom + 14), QPointF(body.right(), bottom + 14),
              QStringLiteral("1 규빗"), QPointF(cx, bottom + 26));
    s.measure(QPointF(body.left() - 30, body.top()), QPointF(body.left() - 30, bottom), QString(),
              QPointF());
    s.text(body.left() - 62, body.center().y(), QStringLiteral("2 규빗"));
    s.text(cx, body.center().y() + 30, QStringLiteral("정사각형"));
    s.text(cx, body.center().y() + 46, QStringLiteral("1 × 1"));
    s.note(
        QStringLiteral("조각목에 순금을 입혔고 휘장 앞, 성소에 두었다(출 30:6). 아침저녁으로 향을 "
                       "피웠다(출 30:7-8)."));
    return s.png();
}

std::string showbreadTable() {
    Sheet s(QStringLiteral("진설병을 두는 상 (출 25:23-30; 레 24:5-9)"));
    // Front view, 80 px to the cubit: 2 long, 1.5 high.
    const double u = 80, left = 40, bottom = 290;
    const QRectF top(left, bottom - 1.5 * u, 2 * u, 10);
    s.box(top, kGold);
    s.box(QRectF(left + 4, top.bottom(), 2 * u - 8, 12), QColor(0xf0, 0xd0, 0x60));
    for (double x : {left + 6, left + 2 * u - 16})
        s.box(QRectF(x, top.bottom(), 10, bottom - top.bottom()), kGold);
    poleAlong(s, left - 30, left + 2 * u + 30, bottom - 40, kWood);
    s.measure(QPointF(left, bottom + 12), QPointF(left + 2 * u, bottom + 12),
              QStringLiteral("길이 2 규빗"), QPointF(left + u, bottom + 24));
    s.measure(QPointF(left + 2 * u + 44, top.top()), QPointF(left + 2 * u + 44, bottom), QString(),
              QPointF());
    s.text(left + 2 * u + 50, top.top() - 14, QStringLiteral("높이 1.5"));
    s.text(left + u, top.top() - 80, QStringLiteral("앞에서 본 모습"));
    s.pointer(QPointF(left + 40, 130), QPointF(left + 30, top.bottom() + 6));
    s.text(left + 40, 122, QStringLiteral("손바닥 너비의 턱과 금테"));
    s.text(left + u, bottom - 56, QStringLiteral("채"));

    // Top view, 2 by 1 cubits, with twelve loaves in two rows of six.
    const double v = 112, tx = 288, ty = 110;
    s.box(QRectF(tx, ty, 2 * v, v), kGold, 1.5);
    s.p.setBrush(QColor(0xe6, 0xc8, 0x8c));
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 6; ++i)
            s.p.drawEllipse(QRectF(tx + 10 + i * 35, ty + 12 + row * 48, 30, 38));
    s.text(tx + v, ty - 20, QStringLiteral("위에서 본 모습"));
    s.measure(QPointF(tx, ty + v + 14), QPointF(tx + 2 * v, ty + v + 14), QStringLiteral("2 규빗"),
              QPointF(tx + v, ty + v + 26));
    s.measure(QPointF(tx + 2 * v + 14, ty), QPointF(tx + 2 * v + 14, ty + v), QString(), QPointF());
    s.text(tx + 2 * v + 26, ty + v / 2, QStringLiteral("1"));
    s.text(tx + v, ty + v + 46, QStringLiteral("떡 열두 개를 두 줄로 여섯씩 (레 24:6)"));
    s.note(QStringLiteral(
        "조각목에 순금을 입혔다. 레 24:6의 '줄'을 '더미'로 옮겨 떡을 여섯씩 쌓았다고 "
        "보는 견해도 있다."));
    return s.png();
}

std::string bronzeAltar() {
    Sheet s(QStringLiteral("번제단 (출 27:1-8)"));
    // 60 px to the cubit: 5 wide, 3 high.
    const double u = 60, cx = kWidth / 2.0, bottom = 300;
    const QRectF body(cx - 2.5 * u, bottom - 3 * u, 5 * u, 3 * u);
    s.box(body, kBronze, 1.5);
    horns(s, body, 20, kBronze);
    // The grating halfway down, under the ledge.
    const QRectF net(body.left() + 6, bottom - 1.5 * u - 14, body.width() - 12, 28);
    s.p.setPen(QPen(QColor(0x5a, 0x3a, 0x20), 1));
    s.p.setBrush(QColor(0xd6, 0xa0, 0x6e));
    s.p.drawRect(net);
    for (double x = net.left(); x <= net.right(); x += 10) {
        s.p.drawLine(QPointF(x, net.top()), QPointF(std::min(x + 28, net.right()), net.bottom()));
        s.p.drawLine(QPointF(x, net.bottom()), QPointF(std::min(x + 28, net.right()), net.top()));
    }
    poleAlong(s, body.left() - 40, body.right() + 40, bottom - 1.5 * u, kBronze);
    for (double x : {body.left() + 8, body.right() - 8}) {
        s.p.setBrush(Qt::NoBrush);
        s.p.setPen(QPen(kInk, 1.2));
        s.p.drawEllipse(QPointF(x, bottom - 1.5 * u), 7, 7);
    }
    s.pointer(QPointF(110, 80), QPointF(body.left() + 6, body.top() - 14));
    s.text(96, 72, QStringLiteral("뿔 (네 모퉁이)"));
    s.pointer(QPointF(460, 100), QPointF(body.right() - 30, net.top()));
    s.text(470, 90, QStringLiteral("놋 그물 (가운데 높이)"));
    s.pointer(QPointF(470, 250), QPointF(body.right() + 30, bottom - 1.5 * u));
    s.text(486, 258, QStringLiteral("고리와 채"));
    s.measure(QPointF(body.left(), bottom + 14), QPointF(body.right(), bottom + 14),
              QStringLiteral("5 규빗 (정사각형)"), QPointF(cx, bottom + 26));
    s.measure(QPointF(body.left() - 24, body.top()), QPointF(body.left() - 24, bottom), QString(),
              QPointF());
    s.text(body.left() - 58, body.center().y() - 50, QStringLiteral("3 규빗"));
    s.note(QStringLiteral(
        "조각목에 놋을 입혔고 속은 비었다(출 27:8). 성막 문 앞 뜰에 두었다(출 40:29)."));
    return s.png();
}

std::string laver() {
    Sheet s(QStringLiteral("물두멍 (출 30:17-21)"));
    const double cx = kWidth / 2.0;
    s.p.setPen(QPen(kInk, 1.5));
    s.p.setBrush(kBronze);
    QPainterPath basin;
    basin.moveTo(cx - 130, 120);
    basin.cubicTo(cx - 120, 200, cx + 120, 200, cx + 130, 120);
    basin.closeSubpath();
    s.p.drawPath(basin);
    s.p.setBrush(QColor(0x9e, 0xc8, 0xe0));
    s.p.drawEllipse(QPointF(cx, 120), 130, 16);
    s.p.setBrush(kBronze);
    QPainterPath stand;
    stand.moveTo(cx - 22, 182);
    stand.lineTo(cx + 22, 182);
    stand.lineTo(cx + 30, 270);
    stand.lineTo(cx + 80, 300);
    stand.lineTo(cx - 80, 300);
    stand.lineTo(cx - 30, 270);
    stand.closeSubpath();
    s.p.drawPath(stand);
    s.pointer(QPointF(110, 90), QPointF(cx - 110, 140));
    s.text(96, 82, QStringLiteral("물두멍 (놋)"));
    s.pointer(QPointF(460, 250), QPointF(cx + 30, 270));
    s.text(476, 258, QStringLiteral("받침 (놋)"));
    s.text(cx, 330,
           QStringLiteral("회막과 제단 사이에 두고, 제사장이 손과 발을 씻었다 (출 30:18-21)"));
    s.note(QStringLiteral("크기와 모양은 성경에 나오지 않아 그림은 한 가지 추정이다. 회막 문에서 "
                          "봉사하는 여인들의 놋 거울로 만들었다(출 38:8)."));
    return s.png();
}

std::string camp() {
    Sheet s(QStringLiteral("광야의 진영 배치 (민 2-3장)"));
    const double cx = kWidth / 2.0, cy = 190;
    // The tabernacle, its door to the east.
    s.box(QRectF(cx - 36, cy - 12, 72, 24), kLinen, 1.5);
    s.text(cx, cy, QStringLiteral("성막"), true, 11);
    // The Levites on the four sides.
    struct Side {
        QPointF at;
        const char* text;
    };
    const Side levites[] = {{{cx + 76, cy}, "모세, 아론과\n아들들"},
                            {{cx, cy + 40}, "고핫 자손"},
                            {{cx - 80, cy}, "게르손 자손"},
                            {{cx, cy - 40}, "므라리 자손"}};
    s.p.setPen(QPen(QColor(0x5a, 0x3d, 0x8a), 1, Qt::DashLine));
    s.p.setBrush(Qt::NoBrush);
    s.p.drawRect(QRectF(cx - 118, cy - 56, 236, 112));
    for (const Side& l : levites) {
        s.p.save();
        s.p.setFont(font(11));
        s.p.setPen(QColor(0x5a, 0x3d, 0x8a));
        s.p.drawText(QRectF(l.at.x() - 45, l.at.y() - 14, 90, 28), Qt::AlignCenter,
                     QString::fromUtf8(l.text));
        s.p.restore();
    }
    // The four camps of three tribes, the leading tribe first.
    struct Camp {
        QRectF box;
        const char* lines;
    };
    const Camp camps[] = {
        {QRectF(cx + 130, cy - 75, 140, 150),
         "동쪽: 유다의 진\n유다 74,600\n잇사갈 54,400\n스불론 57,400\n계 186,400"},
        {QRectF(cx - 115, cy + 64, 230, 72),
         "남쪽: 르우벤의 진\n르우벤 46,500  시므온 59,300\n갓 45,650  계 151,450"},
        {QRectF(cx - 270, cy - 75, 140, 150),
         "서쪽: 에브라임의 진\n에브라임 40,500\n므낫세 32,200\n베냐민 35,400\n계 108,100"},
        {QRectF(cx - 115, cy - 136, 230, 72),
         "북쪽: 단의 진\n단 62,700  아셀 41,500\n납달리 53,400  계 157,600"},
    };
    for (const Camp& c : camps) {
        s.p.setPen(QPen(kInk, 1));
        s.p.setBrush(QColor(0xf4, 0xec, 0xd4));
        s.p.drawRoundedRect(c.box, 8, 8);
        s.p.save();
        s.p.setFont(font(11));
        s.p.setPen(kInk);
        s.p.drawText(c.box, Qt::AlignCenter, QString::fromUtf8(c.lines));
        s.p.restore();
    }
    s.compass(kWidth - 36, 50);
    s.note(QStringLiteral(
        "숫자는 민수기 2장에 적힌 싸움에 나갈 만한 남자의 수. 진을 걷고 행진할 때에도 "
        "유다의 진이 앞장섰다(민 2:9; 10:14)."));
    return s.png();
}

std::string solomonTemple() {
    Sheet s(QStringLiteral("솔로몬 성전의 평면 (왕상 6장)"));
    // 5 px to the cubit; west at the left, the porch at the east.
    const double u = 5, x0 = 70, yc = 180;
    auto x = [&](double c) { return x0 + c * u; };
    // Side chambers, 5 cubits wide on the ground floor, round the sides and the back.
    s.box(QRectF(x(-5), yc - 15 * u, 65 * u, 30 * u), QColor(0xee, 0xe6, 0xd2));
    s.box(QRectF(x(0), yc - 10 * u, 20 * u, 20 * u), QColor(0xe9, 0xd8, 0xa6), 1.5);
    s.box(QRectF(x(20), yc - 10 * u, 40 * u, 20 * u), kLinen, 1.5);
    s.box(QRectF(x(60), yc - 10 * u, 10 * u, 20 * u), kStone, 1.5);
    // The two bronze pillars before the porch: Jachin on the south, Boaz on the north.
    s.p.setBrush(kBronze);
    s.p.drawEllipse(QPointF(x(72), yc - 6 * u), 6, 6);
    s.p.drawEllipse(QPointF(x(72), yc + 6 * u), 6, 6);
    s.text(x(10), yc - 8, QStringLiteral("지성소"));
    s.text(x(10), yc + 10, QStringLiteral("20 × 20"));
    s.text(x(40), yc - 8, QStringLiteral("성소"));
    s.text(x(40), yc + 10, QStringLiteral("40 × 20"));
    s.text(x(65), yc - 8, QStringLiteral("현관"), true, 11);
    s.text(x(65), yc + 10, QStringLiteral("20 × 10"), true, 11);
    s.text(x(89), yc - 6 * u, QStringLiteral("보아스 (북)"), true, 11);
    s.text(x(89), yc + 6 * u, QStringLiteral("야긴 (남)"), true, 11);
    s.pointer(QPointF(x(30), yc - 24 * u), QPointF(x(30), yc - 12.5 * u));
    s.text(x(30), yc - 26 * u, QStringLiteral("골방 (3층, 폭 5 · 6 · 7 규빗)"));
    s.measure(QPointF(x(0), yc + 18 * u), QPointF(x(70), yc + 18 * u),
              QStringLiteral("70 규빗 (현관 포함)"), QPointF(x(35), yc + 20.5 * u));
    s.text(x(10), yc + 22 * u + 8, QStringLiteral("길이 60, 너비 20, 높이 30 규빗의 집 (왕상 6:2)"),
           false, 11);
    s.compass(kWidth - 36, 56);
    s.note(
        QStringLiteral("크기는 안쪽 길이(규빗). 벽의 두께와 골방의 자세한 모양은 성경에 다 나오지 "
                       "않아 그리지 않았다. 지성소 높이는 20 규빗이다(왕상 6:20)."));
    return s.png();
}

std::string herodTemple() {
    Sheet s(QStringLiteral("헤롯 성전의 평면 (대략적인 모습)"));
    // The platform: a trapezium a little longer north to south.
    QPolygonF mount;
    mount << QPointF(80, 50) << QPointF(470, 56) << QPointF(478, 330) << QPointF(70, 330);
    s.p.setPen(QPen(kInk, 2));
    s.p.setBrush(kStone);
    s.p.drawPolygon(mount);
    // Porticoes: Solomon's on the east, the royal one on the south.
    s.p.setPen(QPen(kInk, 1));
    s.p.setBrush(QColor(0xd2, 0xc6, 0xaa));
    s.p.drawRect(QRectF(454, 62, 18, 262));
    s.p.drawRect(QRectF(76, 310, 398, 18));
    // Antonia at the north-west corner.
    s.box(QRectF(40, 26, 80, 46), QColor(0xc8, 0xb8, 0x98));
    // The barrier, the court of the women, the inner courts and the sanctuary.
    s.p.setPen(QPen(QColor(0x9a, 0x3b, 0x3b), 1, Qt::DashLine));
    s.p.setBrush(Qt::NoBrush);
    s.p.drawRect(QRectF(150, 110, 270, 150));
    s.box(QRectF(330, 130, 80, 110), QColor(0xf4, 0xec, 0xd4));
    s.box(QRectF(170, 140, 160, 90), QColor(0xf8, 0xf2, 0xe2));
    s.box(QRectF(186, 150, 134, 70), QColor(0xfd, 0xfa, 0xf0));
    s.box(QRectF(196, 166, 70, 38), kLinen, 1.5);
    s.box(QRectF(196, 172, 20, 26), QColor(0xe9, 0xd8, 0xa6));
    s.box(QRectF(280, 176, 20, 20), kBronze);
    s.text(120, 40, QStringLiteral("안토니아 요새"), false, 11);
    s.text(110, 95, QStringLiteral("이방인의 뜰"), false);
    s.text(285, 100, QStringLiteral("경계 난간 (이방인은 안으로 들어가지 못함)"), true, 11);
    s.text(370, 185, QStringLiteral("여인의 뜰"), true, 11);
    s.text(231, 185, QStringLiteral("성소"), true, 11);
    s.text(206, 212, QStringLiteral("지성소"), true, 10);
    s.text(290, 212, QStringLiteral("번제단"), true, 10);
    s.text(250, 240, QStringLiteral("이스라엘의 뜰 · 제사장의 뜰"), true, 11);
    s.text(275, 319, QStringLiteral("왕의 주랑"), true, 11);
    s.p.save();
    s.p.translate(463, 190);
    s.p.rotate(90);
    s.p.setFont(font(11));
    s.p.drawText(QRectF(-60, -8, 120, 16), Qt::AlignCenter, QStringLiteral("솔로몬 행각"));
    s.p.restore();
    s.compass(kWidth - 36, 60);
    s.note(
        QStringLiteral("요세푸스와 미쉬나의 기록에 따른 개략도로 크기는 맞추지 않았다. 뜰의 정확한 "
                       "크기와 자리는 학자들 사이에 의견이 갈린다."));
    return s.png();
}

std::string jerusalem() {
    Sheet s(QStringLiteral("예수 시대의 예루살렘 (개략도)"));
    // Valleys: Kidron on the east, Hinnom on the west and south, Tyropoeon in the middle.
    s.p.setPen(QPen(QColor(0x7a, 0xa6, 0xc8), 6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath kidron;
    kidron.moveTo(420, 40);
    kidron.cubicTo(410, 150, 400, 250, 340, 330);
    s.p.drawPath(kidron);
    QPainterPath hinnom;
    hinnom.moveTo(110, 90);
    hinnom.cubicTo(100, 250, 200, 330, 340, 330);
    s.p.drawPath(hinnom);
    // The walls round the upper and lower cities.
    QPolygonF wall;
    wall << QPointF(140, 100) << QPointF(250, 90) << QPointF(300, 60) << QPointF(390, 62)
         << QPointF(395, 200) << QPointF(345, 300) << QPointF(300, 312) << QPointF(200, 280)
         << QPointF(140, 200);
    s.p.setPen(QPen(kInk, 2));
    s.p.setBrush(QColor(0xf6, 0xf0, 0xe0));
    s.p.drawPolygon(wall);
    s.p.setPen(QPen(QColor(0xa8, 0xc8, 0xe0), 3, Qt::DashLine));
    s.p.setBrush(Qt::NoBrush);
    QPainterPath tyropoeon;
    tyropoeon.moveTo(270, 80);
    tyropoeon.cubicTo(275, 180, 300, 260, 318, 290);
    s.p.drawPath(tyropoeon);
    // The temple mount, Antonia, Herod's palace, Siloam.
    s.box(QRectF(305, 72, 78, 100), kStone, 1.5);
    s.box(QRectF(300, 58, 30, 18), QColor(0xc8, 0xb8, 0x98));
    s.box(QRectF(150, 120, 40, 30), QColor(0xe0, 0xd0, 0xb0));
    s.p.setBrush(QColor(0x9e, 0xc8, 0xe0));
    s.p.drawEllipse(QPointF(318, 296), 9, 6);
    // Golgotha outside the wall on the north-west, Gethsemane across the Kidron.
    s.p.setBrush(QColor(0x9a, 0x3b, 0x3b));
    s.p.drawEllipse(QPointF(205, 78), 5, 5);
    s.p.setBrush(QColor(0x6a, 0x9a, 0x5a));
    s.p.drawEllipse(QPointF(450, 120), 6, 6);
    s.text(344, 122, QStringLiteral("성전"), true, 11);
    s.text(306, 48, QStringLiteral("안토니아"), true, 11);
    s.text(170, 162, QStringLiteral("헤롯 궁전"), true, 11);
    s.text(200, 215, QStringLiteral("윗도시"));
    s.text(340, 235, QStringLiteral("아랫도시"));
    s.text(340, 250, QStringLiteral("(다윗성)"), true, 11);
    s.text(262, 300, QStringLiteral("실로암 못"), true, 11);
    s.text(205, 64, QStringLiteral("골고다?"), true, 11);
    s.text(470, 108, QStringLiteral("겟세마네"), true, 11);
    s.text(490, 150, QStringLiteral("감람산"), true, 11);
    s.text(432, 220, QStringLiteral("기드론 골짜기"), false, 11);
    s.text(70, 250, QStringLiteral("힌놈 골짜기"), false, 11);
    s.text(232, 262, QStringLiteral("튀로포이온 골짜기"), true, 10);
    s.compass(kWidth - 36, 56);
    s.note(
        QStringLiteral("골고다는 성묘 교회 자리라는 전통을 따라 표시했으나 그 위치는 학자들 사이에 "
                       "의견이 갈린다. 성벽은 개략적인 선이다."));
    return s.png();
}

std::string scroll() {
    Sheet s(QStringLiteral("두루마리"));
    const double top = 80, bottom = 300;
    // The sheet between two rollers, columns of writing on it.
    s.box(QRectF(130, top + 10, 300, bottom - top - 20), QColor(0xf2, 0xe6, 0xc6));
    for (double cx : {160.0, 250.0, 340.0}) {
        s.p.setPen(QPen(QColor(0x60, 0x50, 0x40), 1));
        for (double y = top + 30; y < bottom - 30; y += 9)
            s.p.drawLine(QPointF(cx, y), QPointF(cx + 70, y));
    }
    // Seams where the sheets were sewn together.
    s.p.setPen(QPen(QColor(0xa0, 0x80, 0x60), 1, Qt::DotLine));
    s.p.drawLine(QPointF(295, top + 10), QPointF(295, bottom - 10));
    for (double x : {110.0, 450.0}) {
        s.p.setPen(QPen(kInk, 1.2));
        s.p.setBrush(QColor(0xe8, 0xd8, 0xb0));
        s.p.drawRoundedRect(QRectF(x - 22, top + 4, 44, bottom - top - 8), 18, 18);
        s.p.setBrush(kWood);
        s.p.drawRect(QRectF(x - 5, top - 24, 10, 28));
        s.p.drawRect(QRectF(x - 5, bottom - 4, 10, 28));
    }
    s.pointer(QPointF(60, 60), QPointF(106, top - 12));
    s.text(54, 52, QStringLiteral("막대"));
    s.pointer(QPointF(500, 190), QPointF(462, 190));
    s.text(510, 210, QStringLiteral("말아 둔 부분"));
    s.pointer(QPointF(205, 330), QPointF(195, bottom - 40));
    s.text(205, 340, QStringLiteral("글을 세로 단으로 적었다"));
    s.pointer(QPointF(380, 330), QPointF(295, bottom - 30));
    s.text(390, 340, QStringLiteral("가죽이나 파피루스를 이어 붙인 자리"), true, 11);
    s.note(QString());
    return s.png();
}

std::string codex() {
    Sheet s(QStringLiteral("코덱스 (책 모양의 사본)"));
    // One sheet folded, several nested into a quire, quires sewn at the spine.
    s.text(110, 60, QStringLiteral("① 낱장을 겹쳐 반으로 접는다"));
    for (int i = 0; i < 4; ++i) {
        QPainterPath fold;
        const double dx = i * 6;
        fold.moveTo(40 + dx, 150 - dx);
        fold.lineTo(110, 110 - dx * 0.2);
        fold.lineTo(180 - dx, 150 - dx);
        s.p.setPen(QPen(kInk, 1.2));
        s.p.setBrush(QColor(0xf4, 0xea, 0xcc));
        s.p.drawPath(fold);
    }
    s.text(110, 190, QStringLiteral("② 접은 묶음 하나 (콰이어)"));
    s.box(QRectF(70, 200, 80, 40), QColor(0xf4, 0xea, 0xcc));
    s.p.drawLine(QPointF(110, 200), QPointF(110, 240));
    // Quires stacked and sewn.
    s.text(110, 270, QStringLiteral("③ 묶음들을 쌓아 등을 꿰맨다"));
    for (int i = 0; i < 4; ++i)
        s.box(QRectF(60, 282 + i * 10, 100, 10), QColor(0xf4, 0xea, 0xcc));
    s.p.setPen(QPen(QColor(0x9a, 0x3b, 0x3b), 2));
    s.p.drawLine(QPointF(60, 280), QPointF(60, 324));
    // The open book.
    s.text(390, 60, QStringLiteral("④ 펼친 코덱스"));
    const QRectF left(260, 90, 130, 190), right(390, 90, 130, 190);
    s.box(QRectF(252, 84, 276, 202), QColor(0x8a, 0x5a, 0x3a));
    s.box(left, QColor(0xf7, 0xef, 0xd8));
    s.box(right, QColor(0xf7, 0xef, 0xd8));
    s.p.setPen(QPen(QColor(0x60, 0x50, 0x40), 1));
    for (const QRectF& page : {left, right})
        for (double col : {0.0, 1.0})
            for (double y = page.top() + 18; y < page.bottom() - 14; y += 9)
                s.p.drawLine(QPointF(page.left() + 12 + col * 58, y),
                             QPointF(page.left() + 58 + col * 58, y));
    s.pointer(QPointF(470, 310), QPointF(525, 278));
    s.text(440, 318, QStringLiteral("나무판이나 가죽 표지"), true, 11);
    s.note(
        QStringLiteral("그리스도인들은 2-4세기에 성경을 두루마리보다 코덱스에 많이 베꼈다. 한 면에 "
                       "두 단(또는 세 단, 네 단)으로 쓴 사본도 있다."));
    return s.png();
}

// A coin face: a circle with an uneven edge and a legend round it.
void coinFace(Sheet& s, QPointF c, double r, const QColor& metal) {
    s.p.setPen(QPen(metal.darker(150), 2));
    s.p.setBrush(metal);
    s.p.drawEllipse(c, r, r);
    s.p.setPen(QPen(metal.darker(130), 1, Qt::DotLine));
    s.p.setBrush(Qt::NoBrush);
    s.p.drawEllipse(c, r - 8, r - 8);
}

std::string revoltShekel() {
    Sheet s(QStringLiteral("유대 항쟁 때의 세겔 은화 (주후 66-70년)"));
    const QPointF front(170, 170), back(390, 170);
    const double r = 96;
    coinFace(s, front, r, kSilver);
    coinFace(s, back, r, kSilver);
    // The chalice.
    s.p.setPen(QPen(QColor(0x55, 0x5a, 0x60), 2));
    s.p.setBrush(QColor(0xb0, 0xb6, 0xbd));
    QPainterPath cup;
    cup.moveTo(front.x() - 34, front.y() - 40);
    cup.cubicTo(front.x() - 30, front.y() + 10, front.x() + 30, front.y() + 10, front.x() + 34,
                front.y() - 40);
    cup.closeSubpath();
    s.p.drawPath(cup);
    s.p.drawRect(QRectF(front.x() - 4, front.y() - 8, 8, 34));
    s.p.drawEllipse(QPointF(front.x(), front.y() + 32), 26, 7);
    // Three pomegranates on one stem.
    s.p.drawLine(QPointF(back.x(), back.y() + 50), QPointF(back.x(), back.y() - 10));
    s.p.drawLine(QPointF(back.x(), back.y() + 10), QPointF(back.x() - 34, back.y() - 22));
    s.p.drawLine(QPointF(back.x(), back.y() + 10), QPointF(back.x() + 34, back.y() - 22));
    for (QPointF p : {QPointF(back.x(), back.y() - 28), QPointF(back.x() - 40, back.y() - 34),
                      QPointF(back.x() + 40, back.y() - 34)}) {
        s.p.drawEllipse(p, 14, 16);
        s.p.drawLine(p + QPointF(-5, -16), p + QPointF(0, -22));
        s.p.drawLine(p + QPointF(5, -16), p + QPointF(0, -22));
    }
    s.text(front.x(), front.y() + r + 22, QStringLiteral("앞면: 잔, '이스라엘의 세겔'"));
    s.text(back.x(), back.y() + r + 22, QStringLiteral("뒷면: 석류 세 송이, '거룩한 예루살렘'"));
    s.text(front.x(), front.y() - r + 26, QStringLiteral("연도 표시"), true, 11);
    s.note(
        QStringLiteral("로마에 맞선 첫 번째 유대 항쟁 때 예루살렘에서 만든 은화. 글자는 옛 히브리 "
                       "글자로 새겼다. 무게는 약 14g."));
    return s.png();
}

std::string denarius() {
    Sheet s(QStringLiteral("로마의 데나리온 은화 (티베리우스 황제)"));
    const QPointF front(170, 170), back(390, 170);
    const double r = 90;
    coinFace(s, front, r, kSilver);
    coinFace(s, back, r, kSilver);
    // A laureate head facing right.
    s.p.setPen(QPen(QColor(0x55, 0x5a, 0x60), 2));
    s.p.setBrush(QColor(0xb0, 0xb6, 0xbd));
    QPainterPath head;
    head.moveTo(front.x() - 30, front.y() + 50);
    head.cubicTo(front.x() - 50, front.y() - 10, front.x() - 20, front.y() - 58, front.x() + 14,
                 front.y() - 50);
    head.cubicTo(front.x() + 34, front.y() - 40, front.x() + 30, front.y() - 16, front.x() + 38,
                 front.y() - 6);
    head.lineTo(front.x() + 28, front.y() + 2);
    head.cubicTo(front.x() + 30, front.y() + 16, front.x() + 20, front.y() + 26, front.x() + 6,
                 front.y() + 26);
    head.lineTo(front.x() + 10, front.y() + 50);
    head.closeSubpath();
    s.p.drawPath(head);
    for (int i = 0; i < 6; ++i)
        s.p.drawEllipse(QPointF(front.x() - 30 + i * 8, front.y() - 44 - (i % 2) * 4), 5, 3);
    // A seated woman with a sceptre.
    s.p.drawLine(QPointF(back.x() - 40, back.y() + 40), QPointF(back.x() + 30, back.y() + 40));
    s.p.drawRect(QRectF(back.x() - 30, back.y() + 2, 12, 38));
    QPainterPath figure;
    figure.moveTo(back.x() - 16, back.y() + 40);
    figure.lineTo(back.x() - 10, back.y() - 20);
    figure.lineTo(back.x() + 6, back.y() - 20);
    figure.lineTo(back.x() + 22, back.y() + 40);
    figure.closeSubpath();
    s.p.drawPath(figure);
    s.p.drawEllipse(QPointF(back.x() - 2, back.y() - 32), 9, 10);
    s.p.drawLine(QPointF(back.x() + 18, back.y() - 50), QPointF(back.x() + 12, back.y() + 40));
    // The legends, abridged.
    s.p.setFont(font(11));
    s.p.setPen(kInk);
    s.p.drawText(QRectF(front.x() - r, front.y() - r - 18, 2 * r, 16), Qt::AlignCenter,
                 QStringLiteral("TI CAESAR DIVI AVG F AVGVSTVS"));
    s.p.drawText(QRectF(back.x() - r, back.y() - r - 18, 2 * r, 16), Qt::AlignCenter,
                 QStringLiteral("PONTIF MAXIM"));
    s.text(front.x(), front.y() + r + 22, QStringLiteral("앞면: 월계관을 쓴 황제의 머리"));
    s.text(back.x(), back.y() + r + 22, QStringLiteral("뒷면: 앉아 있는 여인"));
    s.note(
        QStringLiteral("예수께서 보신 '세금 낼 돈'(마 22:19)을 흔히 이 동전으로 보지만 확실하지는 "
                       "않다. 뒷면의 여인은 황제의 어머니 리비아로 보는 견해가 많다. 약 3.8g."));
    return s.png();
}

std::string lepton() {
    Sheet s(QStringLiteral("렙돈 동전"));
    // Small beside the other coins: about 15 mm against 19 and 22 mm.
    const QPointF front(200, 160), back(360, 160);
    const QColor bronze(0xb0, 0x8a, 0x5a);
    const double r = 58;
    coinFace(s, front, r, bronze);
    coinFace(s, back, r, bronze);
    // An anchor.
    s.p.setPen(QPen(QColor(0x5a, 0x40, 0x28), 3, Qt::SolidLine, Qt::RoundCap));
    s.p.setBrush(Qt::NoBrush);
    s.p.drawLine(QPointF(front.x(), front.y() - 34), QPointF(front.x(), front.y() + 30));
    s.p.drawLine(QPointF(front.x() - 14, front.y() - 24), QPointF(front.x() + 14, front.y() - 24));
    s.p.drawArc(QRectF(front.x() - 26, front.y() + 2, 52, 32), 180 * 16, 180 * 16);
    // A star of eight rays in a circle.
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        s.p.drawLine(back, back + QPointF(std::cos(a) * 30, std::sin(a) * 30));
    }
    s.p.drawEllipse(back, 34, 34);
    s.text(front.x(), front.y() + r + 20, QStringLiteral("닻 무늬"));
    s.text(back.x(), back.y() + r + 20, QStringLiteral("별(바퀴) 무늬"));
    s.text(kWidth / 2.0, 270,
           QStringLiteral("가난한 과부가 넣은 두 렙돈은 한 고드란트 (막 12:42)"));
    s.note(
        QStringLiteral("가장 작은 구리 동전. 예수 시대에도 쓰인 렙돈은 알렉산더 얀네우스 왕(주전 "
                       "103-76년) 때 것이 많다. 그림은 실제보다 크게 그렸다."));
    return s.png();
}

std::string daric() {
    Sheet s(QStringLiteral("페르시아의 다릭 금화"));
    const QPointF front(190, 170), back(390, 170);
    const double r = 84;
    const QColor gold(0xe8, 0xc4, 0x50);
    coinFace(s, front, r, gold);
    s.p.setPen(QPen(gold.darker(150), 2));
    s.p.setBrush(gold);
    s.p.drawEllipse(back, r, r * 0.9);
    // The incuse punch on the back.
    s.p.setBrush(gold.darker(125));
    s.p.drawRect(QRectF(back.x() - 36, back.y() - 22, 72, 44));
    // The king running to the right with a bow and a spear.
    s.p.setPen(QPen(QColor(0x7a, 0x5a, 0x10), 2));
    s.p.setBrush(gold.darker(112));
    s.p.drawEllipse(QPointF(front.x() + 4, front.y() - 42), 10, 11);
    QPainterPath crown;
    crown.moveTo(front.x() - 6, front.y() - 50);
    crown.lineTo(front.x() - 3, front.y() - 62);
    crown.lineTo(front.x() + 4, front.y() - 54);
    crown.lineTo(front.x() + 10, front.y() - 62);
    crown.lineTo(front.x() + 13, front.y() - 50);
    s.p.drawPath(crown);
    QPainterPath body;
    body.moveTo(front.x() - 8, front.y() - 30);
    body.lineTo(front.x() + 16, front.y() - 30);
    body.lineTo(front.x() + 30, front.y() + 20);
    body.lineTo(front.x() - 24, front.y() + 20);
    body.closeSubpath();
    s.p.drawPath(body);
    s.p.drawLine(QPointF(front.x() + 20, front.y() + 20), QPointF(front.x() + 44, front.y() + 50));
    s.p.drawLine(QPointF(front.x() - 14, front.y() + 20), QPointF(front.x() - 40, front.y() + 36));
    s.p.drawLine(QPointF(front.x() - 40, front.y() + 36), QPointF(front.x() - 36, front.y() + 56));
    s.p.setBrush(Qt::NoBrush);
    s.p.drawArc(QRectF(front.x() + 22, front.y() - 44, 30, 60), -90 * 16, 180 * 16);
    s.p.drawLine(QPointF(front.x() + 37, front.y() - 44), QPointF(front.x() + 37, front.y() + 16));
    s.p.drawLine(QPointF(front.x() - 50, front.y() + 30), QPointF(front.x() - 10, front.y() - 60));
    s.text(front.x(), front.y() + r + 22, QStringLiteral("앞면: 활과 창을 든 채 달리는 왕"));
    s.text(back.x(), back.y() + r + 22, QStringLiteral("뒷면: 네모나게 눌린 자국"));
    s.note(QStringLiteral("다리우스 1세 때부터 만든 금화로 무게는 약 8.4g. 에스라가 가져간 금 대접 "
                          "스무 개는 천 다릭이었다(스 8:27)."));
    return s.png();
}

using Drawing = std::string (*)();

const std::map<std::string, Drawing>& drawings() {
    static const std::map<std::string, Drawing> table = {{"PHI010000001", tabernacleCourt},
                                                         {"PHI010000002", ark},
                                                         {"PHI010000003", lampstand},
                                                         {"PHI010000004", incenseAltar},
                                                         {"PHI010000005", showbreadTable},
                                                         {"PHI010000006", bronzeAltar},
                                                         {"PHI010000007", laver},
                                                         {"PHI010000008", camp},
                                                         {"PHI010000009", solomonTemple},
                                                         {"PHI010000010", herodTemple},
                                                         {"PHI010000011", jerusalem},
                                                         {"PHI010000012", scroll},
                                                         {"PHI010000013", codex},
                                                         {"PHI010000014", revoltShekel},
                                                         {"PHI010000015", denarius},
                                                         {"PHI010000016", lepton},
                                                         {"PHI010000017", daric}};
    return table;
}

} // namespace

const std::vector<std::string>& photoDiagramKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> out = figureKeys();
        for (const auto& [key, draw] : drawings())
            out.push_back(key);
        std::sort(out.begin(), out.end());
        return out;
    }();
    return keys;
}

std::string drawPhotoDiagram(const std::string& key) {
    const auto found = drawings().find(key);
    return found == drawings().end() ? drawFigure(key) : found->second();
}

} // namespace qel::mkdb
