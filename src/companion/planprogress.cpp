#include "companion/planprogress.h"

#include <algorithm>

namespace qel {
namespace {

int readCount(const PlanMarks& marks, int day) {
    const auto from = marks.lower_bound({day, 0});
    const auto to = marks.lower_bound({day + 1, 0});
    return static_cast<int>(std::distance(from, to));
}

} // namespace

int readingChapters(const Reading& r) {
    return r.verseFrom > 0 ? 1 : r.chapterTo - r.chapterFrom + 1;
}

PlanStatus planStatus(const ReadingPlan& plan, const CivilDate& start, const PlanMarks& marks,
                      const CivilDate& date) {
    PlanStatus status;
    const int length = static_cast<int>(plan.days.size());
    status.today = dayNumber(date) - dayNumber(start);
    status.chapters = plan.chapterCount();
    status.firstUnreadDay = length;
    for (int day = 0; day < length; ++day) {
        const auto& readings = plan.days[day].readings;
        for (std::size_t r = 0; r < readings.size(); ++r)
            if (marks.count({day, static_cast<int>(r)}))
                status.chaptersRead += readingChapters(readings[r]);
        if (readCount(marks, day) >= static_cast<int>(readings.size()))
            ++status.daysRead;
        else
            status.firstUnreadDay = std::min(status.firstUnreadDay, day);
    }
    const int due = std::clamp(status.today + 1, 0, length);
    status.daysBehind = due - status.daysRead;
    return status;
}

DayState dayState(const ReadingPlan& plan, int day, int today, const PlanMarks& marks) {
    if (day < 0 || day >= static_cast<int>(plan.days.size()))
        return DayState::Outside;
    const int read = readCount(marks, day);
    if (read >= static_cast<int>(plan.days[day].readings.size()))
        return DayState::Read;
    if (read > 0)
        return DayState::Partial;
    if (day < today)
        return DayState::Missed;
    return day == today ? DayState::Due : DayState::Future;
}

} // namespace qel
