#pragma once

#include <string>
#include <string_view>

// Titles of versions, from the edition table. All strings are CP949, and unknown input
// gives the literal "unknwon" (the program has always spelled it so).
namespace qel {

inline constexpr std::string_view kUnknownTitle = "unknwon";

// The title of an edition's window and menu entry: its own name, else the slot's window
// title ("성경전서 역본 가"); the code itself for an unknown one.
std::string editionWindowTitle(std::string_view code);

// Short title (the edition's own short name first); the English versions are titled by their
// code, "GNB" by its alias "TEV".
std::string versionShortTitle(std::string_view code);
// Full title ("성경전서 역본 가", "King James Version", or the edition's own name); "GNB" is
// accepted for "TEV".
std::string versionFullTitle(std::string_view code);

// Sort number of a version in the note list: VRA 0, VRC 1, VRB 2, VRE 3, KJV 4, NIV 5,
// TEV 6, anything else (GNB too) -1.
int noteVersionIndex(std::string_view code);

// Fixed number of a book: Old Testament 1-39, deuterocanonical books 41-55, New
// Testament 61-87, anything else 99.
int bookNumber(std::string_view bookCode);

} // namespace qel
