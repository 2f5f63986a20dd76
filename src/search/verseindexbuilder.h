#pragma once

#include "search/verseindex.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

// Debian's libhangul-data (BSD licence): hangul:hanja:gloss lines.
constexpr const char* kHanjaTablePath = "/usr/share/libhangul/hanja/hanja.txt";

struct VerseSource {
    std::string book; // book code ("gen")
    std::string chapter, verse;
    std::string body; // markup, CP949
};

// The text of a verse as the search shows it: footnote markers and their notes removed,
// other tags dropped (headings, breaks and cells become blanks), blanks collapsed.
std::string verseDisplayText(std::string_view markup);

// Builds the index of verses in the order given (books unknown to the Korean standard table
// are left out). Homonyms come from the hanja table when the file can be read; `warning`
// tells when it could not.
VerseIndexData buildVerseIndexData(const std::vector<VerseSource>& verses,
                                   const std::string& hanjaTablePath,
                                   const std::function<void(const std::string&)>& warning = {});

// Reads the VRA table of the content database and writes outFolder/VRA.idx.
void buildVerseIndex(const std::string& contentDbPath, const std::string& outFolder,
                     const std::string& hanjaTablePath,
                     const std::function<void(const std::string&)>& progress);

} // namespace qel
