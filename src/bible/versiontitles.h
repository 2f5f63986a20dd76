#pragma once

#include <string>
#include <string_view>

// Titles of versions. All strings are CP949, and unknown input gives the literal "unknwon"
// (the program has always spelled it so).
namespace qel {

inline constexpr std::string_view kUnknownTitle = "unknwon";

// Short title; Today's English Version is known as "TEV", and the English versions by
// their code.
std::string versionShortTitle(std::string_view code);

} // namespace qel
