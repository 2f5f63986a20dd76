#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Search by initial consonants (초성): "ㅎㄴㄴ" finds 하나님, "ㅇㅎㅂㅇ" 요한복음. A pattern
// character that is a consonant letter (ㄱ..ㅎ) stands for any syllable with that initial;
// any other character stands for itself.
namespace qel::korean {

// Fewer initials than this match too many words to be useful.
constexpr std::size_t kMinInitials = 3;

// True for the consonant letters that can begin a syllable (ㄱ ㄲ ㄴ ... ㅎ).
bool isInitialLetter(char32_t c);
// True when the word is made only of initial letters (at least one).
bool isInitialsOnly(std::u32string_view word);
// True when the pattern holds at least one initial letter.
bool hasInitialLetter(std::u32string_view pattern);
// The consonant letter that begins each syllable; other characters are kept as they are.
std::u32string initialsOf(std::u32string_view text);

// `text` as a whole matches the pattern (a word of the index against "ㅎㄴㄴ").
bool matchesInitials(std::u32string_view text, std::u32string_view pattern);
// `text` begins with the pattern (a book name against "ㅇㅎ").
bool startsWithInitials(std::u32string_view text, std::u32string_view pattern);
// The pattern matches somewhere in `text` (a title against "ㅅㄹ"); blanks in the pattern
// match blanks.
bool containsInitials(std::u32string_view text, std::u32string_view pattern);

} // namespace qel::korean
