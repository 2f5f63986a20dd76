#pragma once

#include <string>
#include <string_view>
#include <vector>

// Our own analysis of Korean words (eojeol): stem + particles (조사) or stem + endings (어미),
// with the sound changes and irregular verbs of the language and the old endings of the
// Bible (-시니라, -옵소서, -나이다, -거늘, -노라 ...). Every analysis is checked by building the
// word again from its parts, so the tables can propose freely without false parses.
namespace qel::korean {

enum class WordClass : unsigned char { Noun, Predicate };

struct Analysis {
    std::u32string stem; // syllables; a predicate stem without -다 (짓, 이르, 사랑하)
    WordClass wordClass = WordClass::Noun;
    std::u32string parts; // the parts for display, e.g. 하나님+께서, 짓+으시+니라
};

// Every distinct (class, stem) reading of a word of Hangul syllables, the shortest parse of
// each. A noun reading of the whole word is always among them. Words with characters other
// than syllables (or too long to parse) give only that reading.
std::vector<Analysis> analyse(std::u32string_view word);

// True when `tail` is particles and copula endings that can follow `stem` as written
// (하나님 + 께서는, 율법 + 이니라), or empty.
bool isParticleTail(std::u32string_view stem, std::u32string_view tail);

// The noun inside a derived predicate stem (사랑하 -> 사랑, 복되 -> 복, 의롭 -> 의); empty
// when the stem carries no derivational suffix.
std::u32string derivationRoot(std::u32string_view predicateStem);

// Determiners and conjunctions that index nothing on their own (그, 이, 저, 및, 또 ...).
bool isFunctionWord(std::u32string_view word);

// Dictionary form for display: predicate stems get -다.
std::u32string lemmaOf(const Analysis& analysis);

} // namespace qel::korean
