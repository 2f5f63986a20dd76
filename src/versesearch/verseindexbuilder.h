#pragma once

#include "language/koreanlexicon.h"
#include "versesearch/verseindex.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

// Debian's libhangul-data (BSD licence): hangul:hanja:gloss lines.
constexpr const char* kHanjaTablePath = "/usr/share/libhangul/hanja/hanja.txt";
// Our own word list travels beside the index it was built with, so that an import can
// build the index again where the sources are not at hand.
constexpr const char* kOwnLexiconFile = "lexicon.txt";

struct VerseSource {
    std::string book; // book code ("gen")
    std::string chapter, verse;
    std::string body; // markup, CP949
};

// The text of a verse as the search shows it: footnote markers and their notes removed,
// other tags dropped (headings, breaks and cells become blanks), blanks collapsed.
std::string verseDisplayText(std::string_view markup);

// What the Korean analysis of the index checks its readings against. An empty lexicon keeps
// every reading the morphology finds.
struct AnalysisSources {
    std::string hanjaTablePath;
    korean::Lexicon lexicon;
    std::vector<korean::HomonymOrder> homonymOrder;
};

// Reads the hanja table path, hunspell-ko and our own list (data/lexicon/bible.txt);
// `warning` tells what is missing.
AnalysisSources readAnalysisSources(const std::string& hanjaTablePath,
                                    const std::string& ownLexiconPath,
                                    const std::function<void(const std::string&)>& warning,
                                    const std::string& hunspellDicPath = korean::kHunspellDicPath,
                                    const std::string& hunspellAffPath = korean::kHunspellAffPath);

// Builds the index of verses in the order given (books unknown to the Korean standard table
// are left out). Homonyms come from the hanja table when the file can be read; `warning`
// tells when it could not.
VerseIndexData buildVerseIndexData(const std::vector<VerseSource>& verses,
                                   const AnalysisSources& sources,
                                   const std::function<void(const std::string&)>& warning = {});

// Reads the VRA table of the content database and writes outFolder/VRA.idx.
void buildVerseIndex(const std::string& contentDbPath, const std::string& outFolder,
                     const AnalysisSources& sources,
                     const std::function<void(const std::string&)>& progress);

} // namespace qel
