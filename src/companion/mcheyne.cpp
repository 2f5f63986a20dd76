// M'Cheyne's calendar of daily readings (Edinburgh, 1842; public domain). Four columns,
// each read straight through its books a portion a day for 365 days: the first two for
// the family, the last two in secret. Most portions are one chapter; the calendar joins
// short chapters and divides three long ones, the same way wherever the chapter falls.
#include "companion/readingplan.h"

#include <map>
#include <utility>

namespace qel {
namespace {

// Books of each column, in the order read.
const std::vector<std::vector<const char*>>& columns() {
    static const std::vector<std::vector<const char*>> kColumns{
        {"gen", "exo", "lev", "num", "deu", "jos", "jdg", "rut", "1sa", "2sa", "1ki", "2ki", "1ch",
         "2ch"},
        {"mat", "mrk", "luk", "jhn", "psa", "act", "rom", "1co", "2co", "gal",
         "eph", "php", "col", "1th", "2th", "1ti", "2ti", "tit", "phm", "heb",
         "jas", "1pe", "2pe", "1jn", "2jn", "3jn", "jud", "rev"},
        {"ezr", "neh", "est", "job", "pro", "ecc", "sng", "isa", "jer", "lam", "ezk", "dan",
         "hos", "jol", "amo", "oba", "jnh", "mic", "nam", "hab", "zep", "hag", "zec", "mal"},
        {"act", "rom", "1co", "2co", "gal", "eph", "php", "col", "1th", "2th",
         "1ti", "2ti", "tit", "phm", "heb", "jas", "1pe", "2pe", "1jn", "2jn",
         "3jn", "jud", "rev", "mat", "mrk", "psa", "luk", "jhn"},
    };
    return kColumns;
}

// Chapters read together on one day: first chapter → last chapter.
const std::map<std::pair<std::string, int>, int>& joined() {
    static const std::map<std::pair<std::string, int>, int> kJoined = [] {
        const std::vector<std::pair<const char*, std::vector<std::pair<int, int>>>> runs{
            {"gen", {{9, 10}, {35, 36}}},
            {"lev", {{2, 3}, {11, 12}}},
            {"num", {{12, 13}, {17, 18}}},
            {"deu", {{13, 14}, {33, 34}}},
            {"jos", {{12, 13}, {14, 15}, {16, 17}, {18, 19}, {20, 21}}},
            {"rut", {{3, 4}}},
            {"1sa", {{5, 6}, {7, 8}, {21, 22}, {29, 30}}},
            {"2sa", {{4, 5}, {8, 9}}},
            {"1ki", {{4, 5}}},
            {"2ki", {{10, 11}}},
            {"1ch",
             {{1, 2},
              {3, 4},
              {5, 6},
              {7, 8},
              {9, 10},
              {11, 12},
              {13, 14},
              {19, 20},
              {24, 25},
              {26, 27}}},
            {"2ch", {{3, 4}, {11, 12}, {14, 15}, {19, 20}, {22, 23}, {27, 28}}},
            {"est", {{9, 10}}},
            {"job", {{16, 17}, {25, 26}}},
            {"isa", {{3, 4}, {11, 12}, {17, 18}, {19, 20}}},
            {"jer", {{30, 31}, {44, 45}}},
            {"hos", {{3, 4}, {5, 6}}},
            {"psa",
             {{1, 2},     {3, 4},     {5, 6},     {7, 8},     {11, 12},   {13, 14},   {15, 16},
              {20, 21},   {23, 24},   {26, 27},   {28, 29},   {40, 41},   {42, 43},   {46, 47},
              {52, 54},   {56, 57},   {58, 59},   {60, 61},   {62, 63},   {64, 65},   {66, 67},
              {70, 71},   {75, 76},   {81, 82},   {83, 84},   {86, 87},   {92, 93},   {95, 96},
              {97, 98},   {99, 101},  {108, 109}, {110, 111}, {112, 113}, {114, 115}, {117, 118},
              {120, 122}, {123, 125}, {126, 128}, {129, 131}, {132, 134}, {135, 136}, {137, 138},
              {140, 141}, {142, 143}, {146, 147}, {149, 150}}},
        };
        std::map<std::pair<std::string, int>, int> table;
        for (const auto& [book, pairs] : runs)
            for (const auto& [from, to] : pairs)
                table[{book, from}] = to;
        return table;
    }();
    return kJoined;
}

// Chapters read over several days: the verse runs of each day.
const std::map<std::pair<std::string, int>, std::vector<std::pair<int, int>>>& divided() {
    static const std::map<std::pair<std::string, int>, std::vector<std::pair<int, int>>> kDivided{
        {{"luk", 1}, {{1, 38}, {39, 80}}},
        {{"psa", 78}, {{1, 39}, {40, 72}}},
        {{"psa", 119}, {{1, 24}, {25, 48}, {49, 72}, {73, 96}, {97, 120}, {121, 144}, {145, 176}}},
    };
    return kDivided;
}

std::vector<Reading> columnReadings(const std::vector<const char*>& books) {
    std::vector<Reading> readings;
    for (const char* book : books) {
        const int chapters = chaptersInBook(book);
        for (int c = 1; c <= chapters; ++c) {
            if (const auto d = divided().find({book, c}); d != divided().end()) {
                for (const auto& [from, to] : d->second)
                    readings.push_back({book, c, c, from, to});
            } else if (const auto j = joined().find({book, c}); j != joined().end()) {
                readings.push_back({book, c, j->second});
                c = j->second;
            } else {
                readings.push_back({book, c, c});
            }
        }
    }
    return readings;
}

} // namespace

std::vector<PlanDay> mcheyneDays() {
    std::vector<PlanDay> days;
    for (const auto& books : columns()) {
        const std::vector<Reading> readings = columnReadings(books);
        if (days.size() < readings.size())
            days.resize(readings.size());
        for (std::size_t d = 0; d < readings.size(); ++d)
            days[d].readings.push_back(readings[d]);
    }
    return days;
}

} // namespace qel
