#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

// One verse span of a book reference: a single verse (chapter:lastVerse) or a
// range from chapter:firstVerse to endChapter:lastVerse.
struct VerseSpan {
    std::string book;    // the three-character book code
    std::string heading; // the book reference after the code, as written ("22:7-14,21-23")
    bool range = false;
    int chapter = 0;
    int firstVerse = 0;
    int endChapter = 0;
    int lastVerse = 0;
};

// Book references are separated by single blanks; each is a book code followed by verse
// spans separated by ','. A span without a chapter continues the
// chapter named last. Spans that name no verse are left out.

// Four-gospel references: a letter starts a book code ("mat", "mrk", "luk", "jhn").
std::vector<VerseSpan> readGospelReferences(std::string_view references);
// History-book references: a '1' or '2' at the start of a span and followed by a
// non-digit starts a book code ("1sa" ... "2ch"); letters never do.
std::vector<VerseSpan> readHistoryReferences(std::string_view references);
// References of any book: a known book code at the start of a span starts a book
// ("gen1:1 1co13:4-7 3jn1:2").
std::vector<VerseSpan> readBookReferences(std::string_view references);

} // namespace qel
