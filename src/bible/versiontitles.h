#pragma once

#include <optional>
#include <string>
#include <string_view>

// Titles and numbers of versions and books. These functions know Today's English Version
// as "TEV"; "GNB" is accepted only where noted. All strings are CP949, and unknown input
// gives the literal "unknwon" (the program has always spelled it so).
namespace qel {

inline constexpr std::string_view kUnknownTitle = "unknwon";

// Short or full title; accepts "GNB" as well as "TEV" (short title "TEV").
std::string versionTitleOf(std::string_view code, bool full);

// Accepts "GNB" as well as "TEV".
std::string versionFullTitle(std::string_view code);
// English versions are known by their code.
std::string versionShortTitle(std::string_view code);
std::string shortTitleOfFullTitle(std::string_view fullTitle);
std::string versionCodeOfShortTitle(std::string_view shortTitle);

// Parallel-window order: 0 VRA, 1 VRB, 2 VRC, 3 VRE, 4 KJV, 5 NIV, 6 TEV; -1 otherwise.
int comparisonIndexOf(std::string_view code);
// Full title of a comparison index; empty for numbers outside 0..6.
std::string comparisonLabel(int index);

// Order kept by the note store: 0 VRA, 1 VRC, 2 VRB, 3 VRE, 4 KJV, 5 NIV, 6 TEV; -1 otherwise
// (so notes of the GNB window get -1).
int noteVersionIndex(std::string_view code);

// Book name of the first row with that abbreviation, for VRA VRB VRC VRE KJV NIV TEV only.
std::optional<std::string> bookNameOfAbbreviation(std::string_view versionCode,
                                                  std::string_view abbreviation);

// Old Testament 1..39, deuterocanon 41..55, New Testament 61..87; 99 for anything else.
int bookNumber(std::string_view bookCode);

} // namespace qel
