#pragma once

#include <string>
#include <string_view>
#include <vector>

// A place as a reader types it into the reference box: "요 3:16", "요한복음 3장 16절",
// "요한 3 16", "창1:1-5", "시 23", "Jn 3:16", "1co 13". Texts are CP949.
namespace qel {

enum class ReferenceError { None, Empty, UnknownBook, AmbiguousBook, BadNumbers };

struct TypedReference {
    ReferenceError error = ReferenceError::None;
    std::string book;  // book code, when found
    int chapter = 0;   // 0: none typed
    int verse = 0;     // 0: none typed
    int lastVerse = 0; // the end of a span "1-5", 0 for a single verse
    // The book as typed, and for an ambiguous one the names it may stand for.
    std::string bookText;
    std::vector<std::string> candidates;

    bool ok() const { return error == ReferenceError::None; }
};

// Book names, abbreviations and codes of every book table are known, in any case and with
// or without blanks; a beginning that only one book's names share stands for that book. A
// digit right after the book's name starts the chapter ("요3:16" is John 3:16), unless
// the name goes on after it ("요한1서 1:1"). Initial letters stand for the Korean names
// whose syllables begin with them ("ㅇㅎㅂㅇ 3:16" is John 3:16).
TypedReference parseTypedReference(std::string_view text);

// The short message (CP949) for a reference that was not understood; empty when it was.
std::string typedReferenceMessage(const TypedReference& reference);

} // namespace qel
