#pragma once

#include "platform/codec.h"

#include <string>
#include <string_view>

// Text handling shared by the word index builder and the word search.
namespace qel::wordtext {

// The readable text of a verse body (CP949 markup): tags dropped, footnote markers and
// their TEX notes and verse-number runs dropped, line and block tags turned into blanks,
// runs of white space collapsed to one blank, no blank at either end.
std::string plainVerseText(std::string_view markup);

// Letters and digits of any script the editions use, and "_" (as grep -w counts them).
bool isWordCodePoint(char32_t c);
bool containsHangul(std::u32string_view text);

// Calls f(key) for every word of a UTF-8 text in order; the key is the word with ASCII
// letters in lower case. Keys point into a buffer that lives until the next call of f.
template <class F> void forEachWord(std::string_view utf8, F&& f) {
    std::string key;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t start = i;
        const char32_t c = nextCodePoint(utf8, i);
        if (isWordCodePoint(c)) {
            if (c < 0x80)
                key.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
            else
                key.append(utf8.substr(start, i - start));
        } else if (!key.empty()) {
            f(std::string_view(key));
            key.clear();
        }
    }
    if (!key.empty())
        f(std::string_view(key));
}

} // namespace qel::wordtext
