#include "mkdb/photofigures.h"

#include "mkdb/diagramsheet.h"
#include "mkdb/photofiguretable.h"

#include <QPolygonF>
#include <algorithm>

namespace qel::mkdb {
namespace {

using namespace diagram;
using namespace figure;

// Figures leave room for a note of three lines.
constexpr int kNoteLines = 3;
constexpr double kNoteTop = kHeight - 4 - 16 * kNoteLines;

QColor colour(Tone tone) {
    switch (tone) {
    case Tone::Paper:
        return QColor(0xf4, 0xea, 0xcc);
    case Tone::Stone:
        return kStone;
    case Tone::Wood:
        return kWood;
    case Tone::Bronze:
        return kBronze;
    case Tone::Gold:
        return kGold;
    case Tone::Linen:
        return kLinen;
    case Tone::Water:
        return QColor(0xb9, 0xd6, 0xea);
    case Tone::Earth:
        return QColor(0xd9, 0xb8, 0x8f);
    case Tone::Silver:
        return kSilver;
    case Tone::Dark:
        return QColor(0x5a, 0x55, 0x50);
    case Tone::Highlight:
        return QColor(0xf2, 0xc9, 0x9c);
    case Tone::None:
        break;
    }
    return Qt::white;
}

// Plan units to sheet pixels: the plan fitted into the space between title and note.
class Frame {
public:
    Frame(double width, double height) {
        const QRectF area(24, 40, kWidth - 48, kNoteTop - 6 - 40);
        unit_ = std::min(area.width() / width, area.height() / height);
        origin_ =
            QPointF(area.center().x() - width * unit_ / 2, area.center().y() - height * unit_ / 2);
    }
    QPointF at(double x, double y) const { return origin_ + QPointF(x * unit_, y * unit_); }
    QRectF rect(const Mark& m) const { return QRectF(at(m.x, m.y), at(m.x + m.w, m.y + m.h)); }

private:
    double unit_ = 1;
    QPointF origin_;
};

// Lines of writing in n columns filling a box.
void columns(Sheet& s, const QRectF& box, int n) {
    const double gap = std::clamp(box.width() / n * 0.25, 2.0, 14.0),
                 margin = std::min(8.0, gap * 1.5);
    const double width = (box.width() - 2 * margin - gap * (n - 1)) / n;
    const double step = box.height() > 60 ? 5 : 3;
    s.p.setPen(QPen(QColor(0x60, 0x50, 0x40), 1));
    for (int c = 0; c < n; ++c) {
        const double left = box.left() + margin + c * (width + gap);
        for (double y = box.top() + margin; y < box.bottom() - margin + 0.5; y += step)
            s.p.drawLine(QPointF(left, y), QPointF(left + width, y));
    }
}

void mark(Sheet& s, const Frame& f, const Mark& m) {
    const QString text = QString::fromUtf8(m.text);
    const QPointF from = f.at(m.x, m.y), to = f.at(m.x + m.w, m.y + m.h);
    s.p.setPen(QPen(kInk, 1.2));
    s.p.setBrush(colour(m.tone));
    switch (m.kind) {
    case Kind::Box:
        s.p.drawRect(f.rect(m));
        break;
    case Kind::Oval:
        s.p.drawEllipse(f.rect(m));
        break;
    case Kind::Gap:
        s.p.setPen(Qt::NoPen);
        s.p.drawRect(f.rect(m));
        break;
    case Kind::Line:
        s.p.setPen(QPen(m.tone == Tone::None ? kInk : colour(m.tone).darker(130), m.n ? m.n : 1.5));
        s.p.drawLine(from, to);
        break;
    case Kind::Text:
        s.text(from.x(), from.y(), text, true, m.n ? m.n : 12);
        break;
    case Kind::Measure: {
        const bool across = std::abs(to.x() - from.x()) >= std::abs(to.y() - from.y());
        const QPointF middle = (from + to) / 2;
        const double side = m.n ? -1 : 1;
        s.measure(from, to, text,
                  middle + (across ? QPointF(0, 11 * side) : QPointF(-40 * side, 0)));
        break;
    }
    case Kind::Pointer:
        s.pointer(from, to);
        s.text(from.x(), from.y() + (to.y() > from.y() ? -10 : 10), text, true, 11);
        break;
    case Kind::Columns:
        if (m.tone != Tone::None)
            s.p.drawRect(f.rect(m));
        columns(s, f.rect(m), m.n);
        break;
    }
}

std::string drawPlan(const Plan& plan) {
    Sheet s(QString::fromUtf8(plan.title));
    const Frame frame(plan.width, plan.height);
    for (const Mark& m : plan.marks)
        mark(s, frame, m);
    s.note(QString::fromUtf8(plan.note), kNoteLines);
    return s.png();
}

// Heights in metres against distance in kilometres; sea level dashed.
class ProfileFrame {
public:
    explicit ProfileFrame(const Profile& p) {
        for (const Spot& spot : p.spots) {
            low_ = std::min(low_, spot.metres);
            high_ = std::max(high_, spot.metres);
            far_ = std::max(far_, spot.km);
        }
        for (const Lake& lake : p.lakes)
            low_ = std::min(low_, lake.deepest);
        const double pad = (high_ - low_) * 0.12;
        low_ -= pad;
        high_ += pad * 2;
    }
    QPointF at(double km, double metres) const {
        return QPointF(kLeft + km / far_ * (kRight - kLeft),
                       kBottom - (metres - low_) / (high_ - low_) * (kBottom - kTop));
    }
    double low() const { return low_; }
    double far() const { return far_; }

    static constexpr double kLeft = 70, kRight = kWidth - 40, kTop = 60, kBottom = kNoteTop - 40;

private:
    double low_ = 0, high_ = 0, far_ = 0;
};

void ground(Sheet& s, const Profile& p, const ProfileFrame& f) {
    for (const Lake& lake : p.lakes) {
        s.p.setPen(Qt::NoPen);
        s.p.setBrush(colour(Tone::Water));
        s.p.drawRect(QRectF(f.at(lake.from, lake.surface), f.at(lake.to, lake.deepest)));
    }
    QPolygonF land;
    land << f.at(0, f.low());
    for (const Spot& spot : p.spots)
        land << f.at(spot.km, spot.metres);
    land << f.at(f.far(), f.low());
    s.p.setPen(QPen(QColor(0x7a, 0x5a, 0x3a), 1.5));
    s.p.setBrush(colour(Tone::Earth));
    s.p.drawPolygon(land);
    s.p.setPen(QPen(QColor(0x20, 0x50, 0x90), 1, Qt::DashLine));
    s.p.drawLine(f.at(0, 0), f.at(f.far(), 0));
    s.text(ProfileFrame::kLeft - 36, f.at(0, 0).y(), QStringLiteral("해수면"), true, 10);
    // A lake's name inside its water, or above it when the water is too shallow to hold it.
    for (const Lake& lake : p.lakes) {
        const double top = f.at(0, lake.surface).y(), depth = f.at(0, lake.deepest).y() - top;
        s.text(f.at((lake.from + lake.to) / 2, 0).x(), depth > 30 ? top + 14 : top - 10,
               QString::fromUtf8(lake.name), true, 11);
    }
}

std::string drawProfile(const Profile& p) {
    Sheet s(QString::fromUtf8(p.title));
    const ProfileFrame f(p);
    ground(s, p, f);
    for (const Spot& spot : p.spots) {
        if (!*spot.name)
            continue;
        const QPointF at = f.at(spot.km, spot.metres);
        s.pointer(at + QPointF(0, -22 - spot.lift), at);
        s.text(at.x(), at.y() - 38 - spot.lift, QString::fromUtf8(spot.name), true, 11);
        s.text(at.x(), at.y() - 26 - spot.lift, QStringLiteral("%1m").arg(spot.metres), true, 10);
    }
    s.measure(f.at(0, f.low()) + QPointF(0, 14), f.at(f.far(), f.low()) + QPointF(0, 14),
              QString::fromUtf8(p.distance), f.at(f.far() / 2, f.low()) + QPointF(0, 26));
    s.note(QString::fromUtf8(p.note), kNoteLines);
    return s.png();
}

// Twelve months from the calendar's first, with the seasons as bars beneath.
std::string drawCalendar(const Calendar& c) {
    Sheet s(QString::fromUtf8(c.title));
    int rows = 1;
    for (const Season& season : c.seasons)
        rows = std::max(rows, season.row + 1);
    const double left = 30, cell = (kWidth - 60) / 12.0, row = 62;
    const double top = 40 + (kNoteTop - 40 - 34 - rows * row) / 2;
    for (int i = 0; i < 12; ++i) {
        s.box(QRectF(left + i * cell, top, cell, 22), QColor(0xf0, 0xf0, 0xf0), 1);
        s.text(left + (i + 0.5) * cell, top + 11,
               QStringLiteral("%1월").arg((c.first + i - 1) % 12 + 1), true, 11);
    }
    for (const Season& season : c.seasons) {
        const QRectF bar(left + season.from * cell + 1, top + 34 + season.row * row,
                         season.months * cell - 2, row - 12);
        s.p.setPen(QPen(kInk, 1));
        s.p.setBrush(colour(season.tone));
        s.p.drawRoundedRect(bar, 5, 5);
        s.p.setFont(font(season.months > 1 ? 11 : 10));
        s.p.drawText(bar.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromUtf8(season.text));
    }
    s.note(QString::fromUtf8(c.note), kNoteLines);
    return s.png();
}

template <typename Row> const Row* find(const std::vector<Row>& rows, const std::string& key) {
    const auto it =
        std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return key == r.key; });
    return it == rows.end() ? nullptr : &*it;
}

} // namespace

std::vector<std::string> figureKeys() {
    std::vector<std::string> keys;
    for (const Plan& p : plans())
        keys.push_back(p.key);
    for (const Profile& p : profiles())
        keys.push_back(p.key);
    for (const Calendar& c : calendars())
        keys.push_back(c.key);
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::string drawFigure(const std::string& key) {
    if (const Plan* p = find(plans(), key))
        return drawPlan(*p);
    if (const Profile* p = find(profiles(), key))
        return drawProfile(*p);
    if (const Calendar* c = find(calendars(), key))
        return drawCalendar(*c);
    return {};
}

} // namespace qel::mkdb
