#pragma once

#include "companion/plandate.h"
#include "companion/planprogress.h"

#include <QWidget>

namespace qel {

// The months a plan spans, one small grid each, every day coloured by what was read.
class CYearCalendar : public QWidget {
    Q_OBJECT
public:
    explicit CYearCalendar(QWidget* parent = nullptr);

    void setPlan(const ReadingPlan* plan, const CivilDate& start, const PlanMarks* marks,
                 int today);
    QSize sizeHint() const override;

signals:
    void dayClicked(int planDay);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect cellRect(int monthIndex, const CivilDate& date) const;
    int monthCount() const;

    const ReadingPlan* plan_ = nullptr;
    const PlanMarks* marks_ = nullptr;
    CivilDate start_;
    int today_ = 0;
};

} // namespace qel
