#include "companion/readingplan.h"

#include "bible/booktable.h"
#include "bible/editions.h"
#include "platform/codec.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace qel {
namespace {

struct BookChapters {
    const char* code;
    int chapters;
};

// The 66 books of the standard division with their chapter counts.
constexpr std::array<BookChapters, 66> kBooks{{
    {"gen", 50}, {"exo", 40}, {"lev", 27}, {"num", 36}, {"deu", 34},  {"jos", 24}, {"jdg", 21},
    {"rut", 4},  {"1sa", 31}, {"2sa", 24}, {"1ki", 22}, {"2ki", 25},  {"1ch", 29}, {"2ch", 36},
    {"ezr", 10}, {"neh", 13}, {"est", 10}, {"job", 42}, {"psa", 150}, {"pro", 31}, {"ecc", 12},
    {"sng", 8},  {"isa", 66}, {"jer", 52}, {"lam", 5},  {"ezk", 48},  {"dan", 12}, {"hos", 14},
    {"jol", 3},  {"amo", 9},  {"oba", 1},  {"jnh", 4},  {"mic", 7},   {"nam", 3},  {"hab", 3},
    {"zep", 3},  {"hag", 2},  {"zec", 14}, {"mal", 4},  {"mat", 28},  {"mrk", 16}, {"luk", 24},
    {"jhn", 21}, {"act", 28}, {"rom", 16}, {"1co", 16}, {"2co", 13},  {"gal", 6},  {"eph", 6},
    {"php", 4},  {"col", 4},  {"1th", 5},  {"2th", 3},  {"1ti", 6},   {"2ti", 4},  {"tit", 3},
    {"phm", 1},  {"heb", 13}, {"jas", 5},  {"1pe", 5},  {"2pe", 3},   {"1jn", 5},  {"2jn", 1},
    {"3jn", 1},  {"jud", 1},  {"rev", 22},
}};
constexpr int kFirstNewTestamentBook = 39;

struct ChapterRef {
    std::string book;
    int chapter;
};

std::vector<ChapterRef> chaptersOf(int fromBook, int toBook) {
    std::vector<ChapterRef> chapters;
    for (int b = fromBook; b < toBook; ++b)
        for (int c = 1; c <= kBooks[b].chapters; ++c)
            chapters.push_back({kBooks[b].code, c});
    return chapters;
}

// Day d of n takes the chapters [d*total/n, (d+1)*total/n): every day has its share, in
// order, and the remainder is spread rather than piled on the last day.
std::vector<PlanDay> spreadEvenly(const std::vector<ChapterRef>& chapters, int days) {
    std::vector<PlanDay> plan(days);
    const long total = static_cast<long>(chapters.size());
    for (int d = 0; d < days; ++d) {
        std::vector<Reading>& readings = plan[d].readings;
        for (long i = d * total / days; i < (d + 1) * total / days; ++i) {
            const ChapterRef& c = chapters[i];
            if (!readings.empty() && readings.back().book == c.book &&
                readings.back().chapterTo + 1 == c.chapter)
                readings.back().chapterTo = c.chapter;
            else
                readings.push_back({c.book, c.chapter, c.chapter});
        }
    }
    return plan;
}

int bookIndex(std::string_view code) {
    for (std::size_t i = 0; i < kBooks.size(); ++i)
        if (code == kBooks[i].code)
            return static_cast<int>(i);
    return -1;
}

std::vector<PlanDay> psalmsAndProverbs() {
    const int psalms = bookIndex("psa");
    std::vector<PlanDay> days = spreadEvenly(chaptersOf(psalms, psalms + 1), 31);
    for (int d = 0; d < 31; ++d)
        days[d].readings.push_back({"pro", d + 1, d + 1});
    return days;
}

ReadingPlan makePlan(std::string code, std::string title, std::string description,
                     std::vector<PlanDay> days) {
    return {std::move(code), std::move(title), std::move(description), std::move(days)};
}

} // namespace

std::vector<PlanDay> mcheyneDays(); // mcheyne.cpp

int ReadingPlan::chapterCount() const {
    int count = 0;
    for (const PlanDay& day : days)
        for (const Reading& r : day.readings)
            count += r.verseFrom > 0 ? 1 : r.chapterTo - r.chapterFrom + 1;
    return count;
}

const std::vector<std::string>& canonicalBooks() {
    static const std::vector<std::string> books = [] {
        std::vector<std::string> codes;
        for (const BookChapters& b : kBooks)
            codes.emplace_back(b.code);
        return codes;
    }();
    return books;
}

int chaptersInBook(std::string_view bookCode) {
    const int i = bookIndex(bookCode);
    return i < 0 ? 0 : kBooks[i].chapters;
}

const std::vector<ReadingPlan>& readingPlans() {
    static const std::vector<ReadingPlan> plans{
        makePlan("bible-year", "성경 1년 통독",
                 "창세기부터 요한계시록까지 정경 순서대로 하루 3-4장씩 365일",
                 spreadEvenly(chaptersOf(0, 66), 365)),
        makePlan("nt-90", "신약 90일 통독", "마태복음부터 요한계시록까지 하루 약 3장씩 90일",
                 spreadEvenly(chaptersOf(kFirstNewTestamentBook, 66), 90)),
        makePlan("psalms-proverbs", "시편과 잠언 한 달",
                 "시편을 하루 대여섯 편씩, 잠언을 하루 한 장씩 31일", psalmsAndProverbs()),
        makePlan("mcheyne", "맥체인 성경 읽기표 (1842)",
                 "하루 네 곳: 가정 예배 두 곳과 개인 묵상 두 곳. 1년에 구약 한 번, 신약과 "
                 "시편 두 번",
                 mcheyneDays()),
    };
    return plans;
}

const ReadingPlan* findReadingPlan(std::string_view code) {
    for (const ReadingPlan& plan : readingPlans())
        if (plan.code == code)
            return &plan;
    return nullptr;
}

std::string readingLabel(const Reading& r) {
    const std::string name = cp949ToUtf8(bookNameOf(r.book, kKoreanEdition));
    const std::string book = name.empty() ? r.book : name;
    std::string label = book + " " + std::to_string(r.chapterFrom);
    if (r.verseFrom > 0)
        return label + ":" + std::to_string(r.verseFrom) + "-" + std::to_string(r.verseTo);
    if (r.chapterTo != r.chapterFrom)
        label += "-" + std::to_string(r.chapterTo);
    return label + (r.book == "psa" ? "편" : "장");
}

std::string readingCommandKey(const Reading& r, std::string_view version) {
    char key[32];
    std::snprintf(key, sizeof key, "B%.3s%.3s%03d%03d", std::string(version).c_str(),
                  r.book.c_str(), r.chapterFrom % 1000, std::max(r.verseFrom, 1) % 1000);
    return key;
}

} // namespace qel
