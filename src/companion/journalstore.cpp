#include "companion/journalstore.h"

#include "companion/readingplan.h"

#include <algorithm>
#include <filesystem>
#include <sqlite3.h>

namespace qel {
namespace {

constexpr std::string_view kDiarySeparator = "\n----------\n";

DiaryEntry entryOf(const RecordSet& rs) {
    return {rs.field("ENTRY_DATE"),  rs.field("TITLE"),  rs.field("PASSAGE"),
            rs.field("PASSAGE_KEY"), rs.field("PRAYER"), rs.field("BODY")};
}

} // namespace

JournalStore::JournalStore(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    db_.open(path, Database::Mode::Create);
    createTables();
    db_.useWriteAheadLog();
}

void JournalStore::createTables() {
    // Asked first, so that a file the reader may only read is not written to.
    if (!db_.hasTable("tbl_plan"))
        db_.execute("create table tbl_plan (PLAN TEXT PRIMARY KEY, START_DATE TEXT NOT NULL)");
    if (!db_.hasTable("tbl_plan_read"))
        db_.execute("create table tbl_plan_read (PLAN TEXT NOT NULL, DAY INTEGER NOT NULL, "
                    "READING INTEGER NOT NULL, READ_ON TEXT, PRIMARY KEY (PLAN, DAY, READING))");
    if (!db_.hasTable("tbl_diary"))
        db_.execute("create table tbl_diary (ENTRY_DATE TEXT PRIMARY KEY, TITLE TEXT, "
                    "PASSAGE TEXT, PASSAGE_KEY TEXT, PRAYER TEXT, BODY TEXT)");
}

std::vector<PlanRun> JournalStore::plans() {
    std::vector<PlanRun> runs;
    for (RecordSet rs(db_, "select PLAN, START_DATE from tbl_plan order by rowid"); !rs.isEOF();
         rs.moveNext())
        if (const auto start = parseIsoDate(rs.field("START_DATE")))
            runs.push_back({rs.field("PLAN"), *start});
    return runs;
}

void JournalStore::startPlan(const std::string& plan, const CivilDate& start) {
    db_.execute("insert into tbl_plan (PLAN, START_DATE) values (?, ?) on conflict (PLAN) do "
                "update set START_DATE = excluded.START_DATE",
                {plan, isoDate(start)});
}

void JournalStore::removePlan(const std::string& plan) {
    Transaction transaction(db_);
    db_.execute("delete from tbl_plan_read where PLAN = ?", {plan});
    db_.execute("delete from tbl_plan where PLAN = ?", {plan});
    transaction.commit();
}

std::set<std::pair<int, int>> JournalStore::marks(const std::string& plan) {
    std::set<std::pair<int, int>> read;
    for (RecordSet rs(db_, "select DAY, READING from tbl_plan_read where PLAN = ?", {plan});
         !rs.isEOF(); rs.moveNext())
        read.emplace(std::stoi(rs.field("DAY")), std::stoi(rs.field("READING")));
    return read;
}

void JournalStore::writeMark(const std::string& plan, int day, int reading, bool read,
                             const CivilDate& on) {
    if (read)
        db_.execute(
            "insert or ignore into tbl_plan_read (PLAN, DAY, READING, READ_ON) values "
            "(?, ?, ?, ?)",
            {plan, static_cast<long long>(day), static_cast<long long>(reading), isoDate(on)});
    else
        db_.execute("delete from tbl_plan_read where PLAN = ? and DAY = ? and READING = ?",
                    {plan, static_cast<long long>(day), static_cast<long long>(reading)});
}

void JournalStore::setRead(const std::string& plan, int day, int reading, bool read,
                           const CivilDate& on) {
    writeMark(plan, day, reading, read, on);
}

void JournalStore::setDaysRead(const std::string& plan, const ReadingPlan& table, int fromDay,
                               int toDay, bool read, const CivilDate& on) {
    const int last = std::min(toDay, static_cast<int>(table.days.size()) - 1);
    Transaction transaction(db_);
    for (int day = std::max(fromDay, 0); day <= last; ++day)
        for (std::size_t r = 0; r < table.days[day].readings.size(); ++r)
            writeMark(plan, day, static_cast<int>(r), read, on);
    transaction.commit();
}

std::optional<DiaryEntry> JournalStore::entry(const std::string& date) {
    RecordSet rs(db_, "select * from tbl_diary where ENTRY_DATE = ?", {date});
    if (rs.isEOF())
        return std::nullopt;
    return entryOf(rs);
}

void JournalStore::saveEntry(const DiaryEntry& e) {
    if (e.empty()) {
        db_.execute("delete from tbl_diary where ENTRY_DATE = ?", {e.date});
        return;
    }
    db_.execute("insert into tbl_diary (ENTRY_DATE, TITLE, PASSAGE, PASSAGE_KEY, PRAYER, BODY) "
                "values (?, ?, ?, ?, ?, ?) on conflict (ENTRY_DATE) do update set "
                "TITLE = excluded.TITLE, PASSAGE = excluded.PASSAGE, "
                "PASSAGE_KEY = excluded.PASSAGE_KEY, PRAYER = excluded.PRAYER, "
                "BODY = excluded.BODY",
                {e.date, e.title, e.passage, e.passageKey, e.prayer, e.body});
}

std::vector<std::string> JournalStore::entryDates() {
    std::vector<std::string> dates;
    for (RecordSet rs(db_, "select ENTRY_DATE from tbl_diary order by ENTRY_DATE"); !rs.isEOF();
         rs.moveNext())
        dates.push_back(rs.field("ENTRY_DATE"));
    return dates;
}

std::vector<DiaryEntry> JournalStore::search(const std::string& text) {
    std::vector<DiaryEntry> found;
    // instr, not like: the reader's words are matched as typed, wild cards and all.
    for (RecordSet rs(db_,
                      "select * from tbl_diary where instr(lower(TITLE || char(10) || PASSAGE || "
                      "char(10) || PRAYER || char(10) || BODY), lower(?)) > 0 "
                      "order by ENTRY_DATE desc",
                      {text});
         !rs.isEOF(); rs.moveNext())
        found.push_back(entryOf(rs));
    return found;
}

JournalData JournalStore::all() {
    JournalData data;
    data.plans = plans();
    for (RecordSet rs(db_, "select * from tbl_plan_read order by PLAN, DAY, READING"); !rs.isEOF();
         rs.moveNext())
        data.marks.push_back({rs.field("PLAN"), std::stoi(rs.field("DAY")),
                              std::stoi(rs.field("READING")), rs.field("READ_ON")});
    for (RecordSet rs(db_, "select * from tbl_diary order by ENTRY_DATE"); !rs.isEOF();
         rs.moveNext())
        data.entries.push_back(entryOf(rs));
    return data;
}

int JournalStore::merge(const JournalData& data) {
    Transaction transaction(db_);
    const int before = sqlite3_total_changes(db_.handle());
    for (const PlanRun& run : data.plans)
        db_.execute("insert or ignore into tbl_plan (PLAN, START_DATE) values (?, ?)",
                    {run.plan, isoDate(run.start)});
    for (const ReadMark& m : data.marks)
        db_.execute(
            "insert or ignore into tbl_plan_read (PLAN, DAY, READING, READ_ON) values "
            "(?, ?, ?, ?)",
            {m.plan, static_cast<long long>(m.day), static_cast<long long>(m.reading), m.readOn});
    for (const DiaryEntry& imported : data.entries) {
        const std::optional<DiaryEntry> old = entry(imported.date);
        if (!old) {
            saveEntry(imported);
            continue;
        }
        if (old->body.find(imported.body) != std::string::npos)
            continue;
        DiaryEntry joined = *old;
        joined.body += std::string(kDiarySeparator) + imported.body;
        if (joined.title.empty())
            joined.title = imported.title;
        saveEntry(joined);
    }
    const int changed = sqlite3_total_changes(db_.handle()) - before;
    transaction.commit();
    return changed;
}

} // namespace qel
