#pragma once

#include "bible/editions.h"

#include <string>
#include <string_view>
#include <vector>

namespace qel {

// One book of a version: code (same in every version), abbreviation and name (CP949).
struct BookRow {
    std::string code, abbreviation, name;
};

// Book rows in reading order, of the table the edition names (code or alias); unknown codes
// get the Korean standard table, so a window of an unknown version still has books to list.
const std::vector<BookRow>& bookTableOf(std::string_view versionCode);
// One of the tables itself.
const std::vector<BookRow>& bookTable(EditionBooks books);
// The table with the deuterocanonical books among the others, in canonical order.
inline const std::vector<BookRow>& everyBookInOrder() {
    return bookTable(EditionBooks::Gnb);
}

// Exact, case-sensitive lookups in a version's table; empty string when absent.
std::string bookNameOf(std::string_view bookCode, std::string_view versionCode);
std::string bookCodeOf(std::string_view bookName, std::string_view versionCode);
std::string bookAbbrOf(std::string_view bookName, std::string_view versionCode);

// A book code of any table, deuterocanonical books included ("gen", "1co", "3jn", "tob").
bool isBookCode(std::string_view code);

// A code or alias of the edition table.
bool isBibleVersion(std::string_view code);

// Index in the parallel window and its mask (the edition's parallelIndex); -1 otherwise.
int parallelVersionIndex(std::string_view code);

// By position in the standard table; deuterocanonical books are not.
bool isNewTestament(std::string_view bookCode);

} // namespace qel
