#pragma once

#include "companion/plandate.h"
#include "companion/readingplan.h"

#include <set>
#include <utility>

namespace qel {

using PlanMarks = std::set<std::pair<int, int>>; // (day, reading) ticked off

enum class DayState { Read, Partial, Missed, Due, Future, Outside };

// Where a reader stands in a plan on a given date.
struct PlanStatus {
    int today = 0;        // the day of the plan that falls on the date (may be < 0 or past the end)
    int chaptersRead = 0; // chapters of the readings ticked off
    int chapters = 0;     // chapters of the plan
    int daysRead = 0;     // days with every reading ticked off
    int daysBehind = 0;   // days due and not read; negative: days read ahead
    int firstUnreadDay = 0; // the plan's length when every day is read
    int percent() const { return chapters ? chaptersRead * 100 / chapters : 0; }
};

PlanStatus planStatus(const ReadingPlan& plan, const CivilDate& start, const PlanMarks& marks,
                      const CivilDate& date);
DayState dayState(const ReadingPlan& plan, int day, int today, const PlanMarks& marks);
// Chapters of one reading; a verse run counts as one.
int readingChapters(const Reading& reading);

} // namespace qel
