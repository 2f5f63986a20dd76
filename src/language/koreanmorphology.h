#pragma once

#include <string>
#include <string_view>
#include <vector>

// Our own analysis of Korean words (eojeol): stem + particles (조사) or stem + endings (어미),
// with the sound changes and irregular verbs of the language and the old endings of the
// Bible (-시니라, -옵소서, -나이다, -거늘, -노라 ...). Every analysis is checked by building the
// word again from its parts, so the tables can propose freely without false parses.
namespace qel::korean {

// Modifier: a determiner or adverb known to the lexicon (한, 온, 함께); it takes nothing.
enum class WordClass : unsigned char { Noun, Predicate, Modifier };

struct Analysis {
    std::u32string stem; // syllables; a predicate stem without -다 (짓, 이르, 사랑하), its sense
                         // mark (kSecondSense) last
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

// The noun inside a predicate stem derived from it (사랑하 -> 사랑, 복되 -> 복, 축복받 ->
// 축복, 회개시키 -> 회개); empty when the stem carries none of these suffixes.
std::u32string derivationRoot(std::u32string_view predicateStem);

// True when the word is a dependent noun that follows a determiner, with its particles
// (줄로, 것을, 자들, 이가): after one, 온 and 한 are rather the verbs 오다 and 하다.
bool startsWithDependentNoun(std::u32string_view word);

// Determiners and conjunctions that index nothing on their own (그, 이, 저, 및, 또 ...).
bool isFunctionWord(std::u32string_view word);

// True when the reading leaves out the copula's 이 after a vowel (목자시니, 목자라).
bool elidesCopula(const Analysis& analysis);
// True when a noun reading goes through the copula, written or left out (하나님이시니).
bool usesCopula(const Analysis& analysis);

// How unlikely the reading is in running text, from its parts: a noun with a particle is
// cheap, a predicate pays for each ending and more for the rare ones.
int readingCost(const Analysis& analysis);

// A predicate whose stem another verb shares (이르다 "say" and "reach") has the second
// sense marked by this last character of its stem: 이르2. Its forms of 어/아 tell them
// apart; its other forms give both readings.
constexpr char32_t kSecondSense = U'2';
// The stem as written, without the mark.
std::u32string_view withoutSense(std::u32string_view stem);
// What a sense of such a stem means (이르 "말하다", 이르2 "다다르다"); empty for other stems.
std::u32string_view senseGloss(std::u32string_view stem);

// Dictionary form for display: predicate stems get -다 (이르다, 이르다2).
std::u32string lemmaOf(const Analysis& analysis);

} // namespace qel::korean
