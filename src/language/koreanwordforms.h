#pragma once

#include "language/koreanjamo.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Which written words count as forms of a Korean word: a noun with its particles (조사),
// a verb or adjective stem with its endings (어미), including the common sound changes
// where stem and ending melt into one syllable. Works on Unicode code points. The text
// after a stem must split completely into known particles and endings, so 하나님 is not a
// form of 하다 (님 is neither).
namespace qel::korean {

// What may follow the stem part of a pattern.
enum class Rest {
    Nothing,      // the word ends there
    AnyEnding,    // nothing, or particles, endings, or 하다/되다 with endings
    VerbEnding,   // endings (a verb stem never stands alone)
    Melted,       // after a syllable that holds the start of an ending: what its final allows
    MeltedJoined, // the same, but something must follow (a lone 안 is another word)
    VowelEnding,  // endings beginning with 아, 어 or 으 (ㄷ and ㅅ irregular stems)
    WuEnding,     // endings beginning with 우, 워 or 와 (ㅂ irregular stems)
    LDropEnding,  // endings before which a stem-final ㄹ drops (시, 는, 오)
};

// Words that begin with `prefix`; when `fusedBase` is set the next syllable is fusedBase
// carrying one of the finals whose bit is set in `finals` (bit 0: no final).
struct FormPattern {
    std::u32string prefix;
    char32_t fusedBase = 0;
    std::uint32_t finals = 0;
    Rest rest = Rest::Nothing;
};

// The word as written, ending at a blank: 하나님 finds 하나님 and not 하나님께서 (all forms
// find that).
std::vector<FormPattern> basicPatterns(std::u32string_view word);
// Every form of a stem or noun: particles, endings, and the melted forms (사랑하 → 사랑한,
// 사랑합니다, 사랑해, 사랑했다; 듣 → 들어; 돕 → 도와; 알 → 아시니). A verb stem (from a
// dictionary form) takes endings only, so 주다 does not find the noun 주 with 의.
std::vector<FormPattern> allFormPatterns(std::u32string_view stem, bool verbStem);

// The stem of a dictionary form (믿다 → 믿, 사랑하다 → 사랑하), or empty when the word does
// not end in 다 after at least one syllable.
std::u32string_view dictionaryStem(std::u32string_view word);

// True when the text is the word itself or the word with a case particle (바다, 바다의),
// which shows that a word ending in 다 is a noun.
bool isNounForm(std::u32string_view text, std::u32string_view word);

bool matches(const FormPattern& pattern, std::u32string_view word);
// Endings and particles after a stem; the first piece is an ending, or with `nounToo` a
// particle or 하다/되다 as well.
bool isEndingChain(std::u32string_view text, bool nounToo, char32_t before = 0);

} // namespace qel::korean
