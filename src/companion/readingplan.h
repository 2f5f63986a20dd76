#pragma once

#include <string>
#include <string_view>
#include <vector>

// Reading plans: fixed tables of daily readings, Qt-free.
namespace qel {

// One reading: a run of whole chapters of one book, or verses of one chapter
// (verseFrom > 0). Chapters are numbers of the standard (KJV) division.
struct Reading {
    std::string book; // book code of the standard table ("gen", "1co")
    int chapterFrom = 0, chapterTo = 0;
    int verseFrom = 0, verseTo = 0;
    bool operator==(const Reading&) const = default;
};

struct PlanDay {
    std::vector<Reading> readings;
};

struct ReadingPlan {
    std::string code;  // kept in Study.mdb: "bible-year", "nt-90", "psalms-proverbs", "mcheyne"
    std::string title; // UTF-8
    std::string description;
    std::vector<PlanDay> days;
    int chapterCount() const; // chapters of all readings; a verse run counts as one
};

// The four plans in menu order.
const std::vector<ReadingPlan>& readingPlans();
// Nullptr for an unknown code.
const ReadingPlan* findReadingPlan(std::string_view code);

// Chapters of a book of the 66 in the standard division; 0 for any other code.
int chaptersInBook(std::string_view bookCode);
// The 66 book codes in canonical order.
const std::vector<std::string>& canonicalBooks();

// "창세기 1-3장", "누가복음 1:1-38" (UTF-8).
std::string readingLabel(const Reading& reading);
// The reader's command key of a reading's first verse: "B" + version + book + ccc + vvv.
std::string readingCommandKey(const Reading& reading, std::string_view version);

} // namespace qel
