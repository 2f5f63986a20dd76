#include "companion/companionprotocol.h"
#include "companion/plandate.h"
#include "companion/planprogress.h"
#include "companion/readingplan.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {

struct Chapter {
    std::string book;
    int chapter;
    bool operator==(const Chapter&) const = default;
};

std::vector<Chapter> chaptersOfBooks(const std::vector<std::string>& books) {
    std::vector<Chapter> list;
    for (const std::string& b : books)
        for (int c = 1; c <= chaptersInBook(b); ++c)
            list.push_back({b, c});
    return list;
}

std::vector<std::string> booksBetween(const std::string& first, const std::string& last) {
    const auto& all = canonicalBooks();
    const auto from = std::find(all.begin(), all.end(), first);
    const auto to = std::find(all.begin(), all.end(), last);
    return {from, to + 1};
}

// The chapters a run of readings goes through, in order. A chapter read in verse runs
// counts once, and only if its runs start at verse 1 and follow each other without a gap.
std::vector<Chapter> flatten(const std::vector<Reading>& readings) {
    std::vector<Chapter> list;
    int nextVerse = 1;
    for (const Reading& r : readings) {
        if (r.verseFrom > 0) {
            EXPECT_EQ(r.verseFrom, nextVerse) << r.book << " " << r.chapterFrom;
            EXPECT_LE(r.verseFrom, r.verseTo);
            if (r.verseFrom == 1)
                list.push_back({r.book, r.chapterFrom});
            nextVerse = r.verseTo + 1;
            continue;
        }
        nextVerse = 1;
        EXPECT_LE(r.chapterFrom, r.chapterTo);
        for (int c = r.chapterFrom; c <= r.chapterTo; ++c)
            list.push_back({r.book, c});
    }
    return list;
}

std::vector<Reading> column(const ReadingPlan& plan, std::size_t index) {
    std::vector<Reading> readings;
    for (const PlanDay& day : plan.days) {
        EXPECT_EQ(day.readings.size(), 4u);
        readings.push_back(day.readings.at(index));
    }
    return readings;
}

std::vector<Reading> everything(const ReadingPlan& plan) {
    std::vector<Reading> readings;
    for (const PlanDay& day : plan.days)
        readings.insert(readings.end(), day.readings.begin(), day.readings.end());
    return readings;
}

std::string text(const Reading& r) {
    std::string t = r.book + std::to_string(r.chapterFrom);
    if (r.chapterTo != r.chapterFrom)
        t += "-" + std::to_string(r.chapterTo);
    if (r.verseFrom)
        t += ":" + std::to_string(r.verseFrom) + "-" + std::to_string(r.verseTo);
    return t;
}

std::string dayText(const ReadingPlan& plan, int month, int day) {
    const int index = dayNumber({2025, month, day}) - dayNumber({2025, 1, 1});
    std::string t;
    for (const Reading& r : plan.days.at(index).readings)
        t += (t.empty() ? "" : " ") + text(r);
    return t;
}

} // namespace

TEST(ReadingPlans, EvenPlansReadTheirBooksOnceInCanonicalOrder) {
    const ReadingPlan& year = *findReadingPlan("bible-year");
    ASSERT_EQ(year.days.size(), 365u);
    EXPECT_EQ(flatten(everything(year)), chaptersOfBooks(canonicalBooks()));
    EXPECT_EQ(year.chapterCount(), 1189);
    for (const PlanDay& day : year.days) {
        const auto chapters = flatten(day.readings).size();
        EXPECT_TRUE(chapters == 3 || chapters == 4) << chapters;
    }

    const ReadingPlan& nt = *findReadingPlan("nt-90");
    ASSERT_EQ(nt.days.size(), 90u);
    EXPECT_EQ(flatten(everything(nt)), chaptersOfBooks(booksBetween("mat", "rev")));

    // Psalms and Proverbs run side by side, each straight through once.
    const ReadingPlan& month = *findReadingPlan("psalms-proverbs");
    ASSERT_EQ(month.days.size(), 31u);
    std::vector<Reading> psalms, proverbs;
    for (const PlanDay& day : month.days)
        for (const Reading& r : day.readings)
            (r.book == "psa" ? psalms : proverbs).push_back(r);
    EXPECT_EQ(flatten(psalms), chaptersOfBooks({"psa"}));
    EXPECT_EQ(flatten(proverbs), chaptersOfBooks({"pro"}));
    EXPECT_EQ(month.days[0].readings.back(), (Reading{"pro", 1, 1}));
}

TEST(ReadingPlans, McCheyneReadsTheOldTestamentOnceAndTheNewAndPsalmsTwice) {
    const ReadingPlan& plan = *findReadingPlan("mcheyne");
    ASSERT_EQ(plan.days.size(), 365u);
    const auto psalms = chaptersOfBooks({"psa"});
    auto join = [](std::vector<Chapter> a, const std::vector<Chapter>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const auto gospels = chaptersOfBooks(booksBetween("mat", "jhn"));
    const auto actsToRevelation = chaptersOfBooks(booksBetween("act", "rev"));
    EXPECT_EQ(flatten(column(plan, 0)), chaptersOfBooks(booksBetween("gen", "2ch")));
    EXPECT_EQ(flatten(column(plan, 1)), join(join(gospels, psalms), actsToRevelation));
    auto prophetsAndWritings = chaptersOfBooks(booksBetween("ezr", "mal"));
    std::erase_if(prophetsAndWritings, [](const Chapter& c) { return c.book == "psa"; });
    EXPECT_EQ(flatten(column(plan, 2)), prophetsAndWritings);
    EXPECT_EQ(flatten(column(plan, 3)),
              join(join(join(actsToRevelation, chaptersOfBooks({"mat", "mrk"})), psalms),
                   chaptersOfBooks({"luk", "jhn"})));
}

TEST(ReadingPlans, McCheyneDaysAreThoseOfThePublishedCalendar) {
    const ReadingPlan& plan = *findReadingPlan("mcheyne");
    EXPECT_EQ(dayText(plan, 1, 1), "gen1 mat1 ezr1 act1");
    EXPECT_EQ(dayText(plan, 1, 9), "gen9-10 mat9 ezr9 act9");
    EXPECT_EQ(dayText(plan, 2, 15), "gen48 luk1:39-80 job14 1co2");
    EXPECT_EQ(dayText(plan, 4, 1), "lev4 psa1-2 pro19 col2");
    EXPECT_EQ(dayText(plan, 5, 25), "num34 psa78:40-72 isa26 1jn4");
    EXPECT_EQ(dayText(plan, 6, 28), "deu33-34 psa119:145-176 isa60 mat8");
    EXPECT_EQ(dayText(plan, 8, 11), "1sa1 rom1 jer39 psa13-14");
    EXPECT_EQ(dayText(plan, 12, 8), "2ch8 3jn1 hab3 luk22");
    EXPECT_EQ(dayText(plan, 12, 22), "2ch26 rev13 zec9 jhn12");
    EXPECT_EQ(dayText(plan, 12, 31), "2ch36 rev22 mal4 jhn21");
}

TEST(ReadingPlans, ReadingsNameTheirPassageAndOpenAtItsFirstVerse) {
    EXPECT_EQ(readingCommandKey({"gen", 1, 1}, "VRA"), "BVRAgen001001");
    EXPECT_EQ(readingCommandKey({"luk", 1, 1, 39, 80}, "KJV"), "BKJVluk001039");
    EXPECT_EQ(readingCommandKey({"psa", 119, 119, 145, 176}, "VRA"), "BVRApsa119145");
    EXPECT_EQ(readingLabel({"psa", 99, 101}), "시편 99-101편");
    EXPECT_EQ(readingLabel({"luk", 1, 1, 39, 80}), "누가복음 1:39-80");
    EXPECT_EQ(readingLabel({"gen", 3, 3}), "창세기 3장");
}

TEST(PlanDates, DayNumbersCrossLeapDaysAndYearEnds) {
    EXPECT_EQ(dayNumber({1970, 1, 1}), 0);
    EXPECT_EQ(dayNumber({2024, 3, 1}) - dayNumber({2024, 2, 28}), 2);
    EXPECT_EQ(dayNumber({2023, 3, 1}) - dayNumber({2023, 2, 28}), 1);
    EXPECT_EQ(dayNumber({2100, 3, 1}) - dayNumber({2100, 2, 28}), 1); // not a leap year
    EXPECT_EQ(dayNumber({2000, 3, 1}) - dayNumber({2000, 2, 28}), 2); // a leap year
    EXPECT_EQ(dayNumber({2025, 1, 1}) - dayNumber({2024, 12, 31}), 1);
    // Every day from 1899 to 2101 follows the one before.
    CivilDate expected{1899, 1, 1};
    for (int n = dayNumber(expected); n <= dayNumber({2101, 12, 31}); ++n) {
        ASSERT_EQ(civilDate(n), expected) << n;
        ASSERT_EQ(dayNumber(expected), n);
        if (++expected.day > daysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12)
                expected = {expected.year + 1, 1, 1};
        }
    }
    EXPECT_EQ(parseIsoDate("2024-02-29"), (CivilDate{2024, 2, 29}));
    for (const char* bad :
         {"2023-02-29", "2024-13-01", "2024-04-31", "2024-1-01", "20240101", "2024-01-0x", ""})
        EXPECT_FALSE(parseIsoDate(bad)) << bad;
    EXPECT_EQ(isoDate({2024, 2, 29}), "2024-02-29");
}

TEST(PlanProgress, CountsDaysBehindAndAheadFromTheStartDate) {
    const ReadingPlan& plan = *findReadingPlan("mcheyne");
    const CivilDate start{2024, 12, 31};
    PlanMarks marks;
    // Started on New Year's Eve: 1 January is the second day.
    PlanStatus s = planStatus(plan, start, marks, {2025, 1, 1});
    EXPECT_EQ(s.today, 1);
    EXPECT_EQ(s.daysBehind, 2);
    EXPECT_EQ(s.firstUnreadDay, 0);
    // The last day falls on 30 December, a year of 365 days later.
    EXPECT_EQ(planStatus(plan, start, marks, {2025, 12, 30}).today, 364);

    for (int r = 0; r < 4; ++r)
        marks.insert({0, r});
    marks.insert({1, 2});
    s = planStatus(plan, start, marks, {2025, 1, 1});
    EXPECT_EQ(s.daysRead, 1);
    EXPECT_EQ(s.daysBehind, 1);
    EXPECT_EQ(s.firstUnreadDay, 1);
    // Gen 1, Matt 1, Ezra 1, Acts 1 and Ezra 2.
    EXPECT_EQ(s.chaptersRead, 5);
    EXPECT_EQ(dayState(plan, 0, 1, marks), DayState::Read);
    EXPECT_EQ(dayState(plan, 1, 1, marks), DayState::Partial);
    EXPECT_EQ(dayState(plan, 2, 1, marks), DayState::Future);
    EXPECT_EQ(dayState(plan, 365, 1, marks), DayState::Outside);

    // Reading ahead counts as days ahead.
    for (int d = 0; d < 5; ++d)
        for (int r = 0; r < 4; ++r)
            marks.insert({d, r});
    s = planStatus(plan, start, marks, {2025, 1, 1});
    EXPECT_EQ(s.daysBehind, -3);
    // Across a leap day: started 28 February 2024, 1 March is the third day.
    EXPECT_EQ(planStatus(plan, {2024, 2, 28}, {}, {2024, 3, 1}).today, 2);
    EXPECT_EQ(dayState(plan, 1, 2, {}), DayState::Missed);
}

TEST(CompanionProtocol, SendsTheKeyByPositionWithItsTerminatingZero) {
    const std::vector<std::string> lines = companionKeyLines("BVRAgen001001");
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "1058 0 66");
    EXPECT_EQ(lines[12], "1058 12 49");
    EXPECT_EQ(lines[13], "1058 13 0");
    EXPECT_EQ(lines[14], "1058 14 0");
    // A shorter key ends with its zero right after it.
    EXPECT_EQ(companionKeyLines("BVRA")[4], "1058 4 0");
    EXPECT_TRUE(companionKeyLines("BVRAgen0010011").empty());
    EXPECT_EQ(companionGreeting(42), "1057 42");
}
