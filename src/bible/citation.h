#pragma once

#include <string>
#include <string_view>

namespace qel {

// How verses leave the program: with their citation. All texts are CP949.

// "text(역본 가 창 1:1)": the verse text, then the version's short title, the book's
// abbreviation in that version (from the book name shown), chapter and verse.
std::string verseCitation(std::string_view verseText, std::string_view versionCode,
                          std::string_view bookName, std::string_view chapter,
                          std::string_view verse);

// A verse copied from the parallel window, whose book name is always the one of `VRA`:
// "text(KJV Gn 1:1)" for the English versions (the book's abbreviation in that version),
// "text(역본 나 창 1:1)" for the Korean ones (the standard abbreviation).
std::string parallelVerseCitation(std::string_view verseText, std::string_view versionCode,
                                  std::string_view bookName, std::string_view chapter,
                                  std::string_view verse);

// The tail of a copied selection: "\r\n(역본 가 창 1장)", or for the English editions
// "\r\n(KJV Gn Chapter 1)".
std::string selectionCitation(std::string_view versionCode, std::string_view bookName,
                              std::string_view chapter);

// "역본 가 : 창세기 1 장 1 절"; without the verse it ends after " 장 ".
std::string placeText(std::string_view versionCode, std::string_view bookName,
                      std::string_view chapter, std::string_view verse, bool withVerse);

} // namespace qel
