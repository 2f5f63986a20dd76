#include "platform/hangulinitials.h"

#include <algorithm>
#include <iterator>

namespace qel::korean {
namespace {

constexpr char32_t kFirstSyllable = 0xAC00, kLastSyllable = 0xD7A3;
constexpr int kSyllablesPerInitial = 21 * 28;

// Compatibility consonant letters U+3131..U+314E and the initial (0..18, in syllable order)
// each one writes; -1 for the clusters that occur only as finals (ㄳ, ㄵ, ㄺ ...).
constexpr signed char kInitialOfLetter[] = {0,  1,  -1, 2,  -1, -1, 3,  4,  5,  -1,
                                            -1, -1, -1, -1, -1, -1, 6,  7,  8,  -1,
                                            9,  10, 11, 12, 13, 14, 15, 16, 17, 18};
constexpr char32_t kFirstLetter = 0x3131;

bool isSyllable(char32_t c) {
    return c >= kFirstSyllable && c <= kLastSyllable;
}

int initialOfSyllable(char32_t c) {
    return static_cast<int>((c - kFirstSyllable) / kSyllablesPerInitial);
}

int initialOfLetter(char32_t c) {
    if (c < kFirstLetter || c >= kFirstLetter + std::size(kInitialOfLetter))
        return -1;
    return kInitialOfLetter[c - kFirstLetter];
}

char32_t letterOfInitial(int initial) {
    for (std::size_t i = 0; i < std::size(kInitialOfLetter); ++i)
        if (kInitialOfLetter[i] == initial)
            return kFirstLetter + static_cast<char32_t>(i);
    return 0;
}

bool charMatches(char32_t textChar, char32_t patternChar) {
    const int initial = initialOfLetter(patternChar);
    if (initial < 0 || !isSyllable(textChar))
        return textChar == patternChar;
    return initialOfSyllable(textChar) == initial;
}

bool matchesAt(std::u32string_view text, std::size_t at, std::u32string_view pattern) {
    if (at + pattern.size() > text.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (!charMatches(text[at + i], pattern[i]))
            return false;
    return true;
}

} // namespace

bool isInitialLetter(char32_t c) {
    return initialOfLetter(c) >= 0;
}

bool isInitialsOnly(std::u32string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), isInitialLetter);
}

bool hasInitialLetter(std::u32string_view pattern) {
    return std::any_of(pattern.begin(), pattern.end(), isInitialLetter);
}

std::u32string initialsOf(std::u32string_view text) {
    std::u32string out(text);
    for (char32_t& c : out)
        if (isSyllable(c))
            c = letterOfInitial(initialOfSyllable(c));
    return out;
}

bool matchesInitials(std::u32string_view text, std::u32string_view pattern) {
    return text.size() == pattern.size() && matchesAt(text, 0, pattern);
}

bool startsWithInitials(std::u32string_view text, std::u32string_view pattern) {
    return matchesAt(text, 0, pattern);
}

bool containsInitials(std::u32string_view text, std::u32string_view pattern) {
    if (pattern.empty())
        return true;
    for (std::size_t at = 0; at + pattern.size() <= text.size(); ++at)
        if (matchesAt(text, at, pattern))
            return true;
    return false;
}

} // namespace qel::korean
