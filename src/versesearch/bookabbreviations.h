#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

// One row of the verse search's book abbreviation table (CP949): 66 rows in canonical
// order. It differs from the Korean standard book table for the letters of John (요일, 요이,
// 요삼), which the verse search uses in its results and ranges.
struct BookAbbreviation {
    std::string abbreviation; // at most 9 bytes
    std::string name;         // at most 19 bytes
};

const std::vector<BookAbbreviation>& bookAbbreviationTable();

// Exact lookups; -1 or an empty string when absent.
int bookIndexOfAbbreviation(std::string_view abbreviation);
std::string abbreviationOfBookName(std::string_view name);
std::string bookNameOfAbbreviation(std::string_view abbreviation);

} // namespace qel
