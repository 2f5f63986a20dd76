#include "companion/ui/yearcalendar.h"

#include <QMouseEvent>
#include <QPainter>

namespace qel {
namespace {

constexpr int kCell = 15;
constexpr int kMonthWidth = 7 * kCell + 12;
constexpr int kMonthHeight = 7 * kCell + 22;
constexpr int kColumns = 6;

QColor colourOf(DayState state) {
    switch (state) {
    case DayState::Read:
        return QColor(0x4c, 0xaf, 0x50);
    case DayState::Partial:
        return QColor(0xff, 0xc1, 0x07);
    case DayState::Missed:
        return QColor(0xef, 0x9a, 0x9a);
    case DayState::Due:
        return QColor(0x90, 0xca, 0xf9);
    case DayState::Future:
        return QColor(0xee, 0xee, 0xee);
    case DayState::Outside:
        break;
    }
    return QColor(Qt::white);
}

CivilDate monthStart(const CivilDate& start, int index) {
    const int months = start.month - 1 + index;
    return {start.year + months / 12, months % 12 + 1, 1};
}

// Weeks start on Sunday, as on Korean wall calendars.
int weekdayOf(const CivilDate& date) {
    return (dayNumber(date) + 4) % 7; // 1970-01-01 was a Thursday; 0 = Sunday
}

} // namespace

CYearCalendar::CYearCalendar(QWidget* parent) : QWidget(parent) {}

void CYearCalendar::setPlan(const ReadingPlan* plan, const CivilDate& start, const PlanMarks* marks,
                            int today) {
    plan_ = plan;
    start_ = start;
    marks_ = marks;
    today_ = today;
    updateGeometry();
    update();
}

int CYearCalendar::monthCount() const {
    if (!plan_)
        return 12;
    const CivilDate last = civilDate(dayNumber(start_) + static_cast<int>(plan_->days.size()) - 1);
    return (last.year - start_.year) * 12 + last.month - start_.month + 1;
}

QSize CYearCalendar::sizeHint() const {
    const int rows = (monthCount() + kColumns - 1) / kColumns;
    return {kColumns * kMonthWidth, rows * kMonthHeight};
}

QRect CYearCalendar::cellRect(int monthIndex, const CivilDate& date) const {
    const int left = (monthIndex % kColumns) * kMonthWidth;
    const int top = (monthIndex / kColumns) * kMonthHeight + 18;
    const int offset = weekdayOf({date.year, date.month, 1});
    const int slot = offset + date.day - 1;
    return {left + (slot % 7) * kCell, top + (slot / 7) * kCell, kCell - 1, kCell - 1};
}

void CYearCalendar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!plan_ || !marks_)
        return;
    QFont small = font();
    small.setPixelSize(9);
    const int startDay = dayNumber(start_);
    for (int m = 0; m < monthCount(); ++m) {
        const CivilDate first = monthStart(start_, m);
        painter.setPen(Qt::black);
        painter.setFont(font());
        painter.drawText(
            QRect((m % kColumns) * kMonthWidth, (m / kColumns) * kMonthHeight, kMonthWidth, 16),
            Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("%1년 %2월").arg(first.year).arg(first.month));
        painter.setFont(small);
        for (int d = 1; d <= daysInMonth(first.year, first.month); ++d) {
            const CivilDate date{first.year, first.month, d};
            const int planDay = dayNumber(date) - startDay;
            const QRect cell = cellRect(m, date);
            painter.fillRect(cell, colourOf(dayState(*plan_, planDay, today_, *marks_)));
            if (planDay == today_) {
                painter.setPen(QPen(Qt::blue, 2));
                painter.drawRect(cell.adjusted(1, 1, -1, -1));
            }
            painter.setPen(Qt::darkGray);
            painter.drawText(cell, Qt::AlignCenter, QString::number(d));
        }
    }
}

void CYearCalendar::mousePressEvent(QMouseEvent* event) {
    if (!plan_)
        return;
    for (int m = 0; m < monthCount(); ++m) {
        const CivilDate first = monthStart(start_, m);
        for (int d = 1; d <= daysInMonth(first.year, first.month); ++d)
            if (cellRect(m, {first.year, first.month, d}).contains(event->position().toPoint())) {
                const int planDay = dayNumber({first.year, first.month, d}) - dayNumber(start_);
                if (planDay >= 0 && planDay < static_cast<int>(plan_->days.size()))
                    emit dayClicked(planDay);
                return;
            }
    }
}

} // namespace qel
