#pragma once

#include "companion/plandate.h"
#include "platform/database.h"

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace qel {

struct ReadingPlan;

// A plan the reader follows, from its first day.
struct PlanRun {
    std::string plan;
    CivilDate start;
    bool operator==(const PlanRun&) const = default;
};

// One reading ticked off: day (0 = the plan's first day) and reading index of that day.
struct ReadMark {
    std::string plan;
    int day = 0, reading = 0;
    std::string readOn; // YYYY-MM-DD
    bool operator==(const ReadMark&) const = default;
};

// A diary page of one day. Texts are UTF-8 and of any length.
struct DiaryEntry {
    std::string date; // YYYY-MM-DD
    std::string title, passage, passageKey, prayer, body;
    bool operator==(const DiaryEntry&) const = default;
    bool empty() const {
        return title.empty() && passage.empty() && prayer.empty() && body.empty();
    }
};

// Everything of the companions, for moving between installations.
struct JournalData {
    std::vector<PlanRun> plans;
    std::vector<ReadMark> marks;
    std::vector<DiaryEntry> entries;
};

// Reading plans and the diary in "Study.mdb", tables of their own beside the notes
// (tbl_plan, tbl_plan_read, tbl_diary). Every change is written at once in its own
// transaction; write-ahead logging and the busy timeout let the reader's note store and
// both companions share the file. Throws DatabaseError when the file cannot serve.
class JournalStore {
public:
    explicit JournalStore(const std::string& path);

    std::vector<PlanRun> plans();
    // Starts a plan, or moves the first day of one already followed (its marks stay).
    void startPlan(const std::string& plan, const CivilDate& start);
    // Forgets a plan and its marks.
    void removePlan(const std::string& plan);

    std::set<std::pair<int, int>> marks(const std::string& plan);
    void setRead(const std::string& plan, int day, int reading, bool read,
                 const CivilDate& on = today());
    // Ticks or clears every reading of the days [fromDay, toDay] in one transaction.
    void setDaysRead(const std::string& plan, const ReadingPlan& table, int fromDay, int toDay,
                     bool read, const CivilDate& on = today());

    std::optional<DiaryEntry> entry(const std::string& date);
    // An entry with nothing in it is removed.
    void saveEntry(const DiaryEntry& entry);
    std::vector<std::string> entryDates();
    // Entries whose title, passage, prayer or text holds `text` (letters of any case),
    // newest first.
    std::vector<DiaryEntry> search(const std::string& text);

    JournalData all();
    // Adds what is not here yet: plans not followed, marks not set, entries of days
    // without one; a day with another text keeps it and gets the imported text after a
    // separator line, unless it holds it already. One transaction; returns the changes.
    int merge(const JournalData& data);

private:
    void createTables();
    void writeMark(const std::string& plan, int day, int reading, bool read, const CivilDate& on);

    Database db_;
};

} // namespace qel
