#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

// One verse specification of a book reference: a single verse (chapter:lastVerse) or a
// range from chapter:firstVerse to endChapter:lastVerse.
struct VerseSpec {
    std::string book;    // the three-character book code
    std::string heading; // the book reference after the code, as written ("22:7-14,21-23")
    bool range = false;
    int chapter = 0;
    int firstVerse = 0;
    int endChapter = 0;
    int lastVerse = 0;
};

// Book references are separated by single blanks; each is a book code followed by verse
// specifications separated by ','. A specification without a chapter continues the
// chapter named last. Specifications that name no verse are left out.

// Four-gospel references: a letter starts a book code ("mat", "mrk", "luk", "jhn").
std::vector<VerseSpec> readGospelReferences(std::string_view references);
// History-book references: a '1' or '2' at the start of a specification and followed by a
// non-digit starts a book code ("1sa" ... "2ch"); letters never do.
std::vector<VerseSpec> readHistoryReferences(std::string_view references);

} // namespace qel
