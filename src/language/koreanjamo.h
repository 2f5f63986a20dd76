#pragma once

#include <string>
#include <string_view>

// Hangul syllables and their conjoining jamo. Morphology works on jamo so that endings
// such as the bare consonants of -ㄴ, -ㄹ, -ㅁ can attach to the syllable before them.
namespace qel::korean {

constexpr char32_t kSyllableFirst = 0xAC00;
constexpr char32_t kSyllableLast = 0xD7A3;

inline bool isSyllable(char32_t c) {
    return c >= kSyllableFirst && c <= kSyllableLast;
}

// Initial consonants (choseong) U+1100.., vowels (jungseong) U+1161.., finals U+11A8...
enum Initial : int {
    kG,
    kGG,
    kN,
    kD,
    kDD,
    kR,
    kM,
    kB,
    kBB,
    kS,
    kSS,
    kNg,
    kJ,
    kJJ,
    kCh,
    kK,
    kT,
    kP,
    kH
};
enum Vowel : int {
    kA,
    kAe,
    kYa,
    kYae,
    kEo,
    kE,
    kYeo,
    kYe,
    kO,
    kWa,
    kWae,
    kOe,
    kYo,
    kU,
    kWo,
    kWe,
    kWi,
    kYu,
    kEu,
    kUi,
    kI
};
enum Final : int {
    kNoFinal,
    kFG,
    kFGG,
    kFGS,
    kFN,
    kFNJ,
    kFNH,
    kFD,
    kFR,
    kFRG,
    kFRM,
    kFRB,
    kFRS,
    kFRT,
    kFRP,
    kFRH,
    kFM,
    kFB,
    kFBS,
    kFS,
    kFSS,
    kFNg,
    kFJ,
    kFCh,
    kFK,
    kFT,
    kFP,
    kFH
};

inline char32_t initialJamo(int i) {
    return 0x1100 + i;
}
inline char32_t vowelJamo(int v) {
    return 0x1161 + v;
}
inline char32_t finalJamo(int t) {
    return 0x11A7 + t;
}
inline bool isInitialJamo(char32_t c) {
    return c >= 0x1100 && c <= 0x1112;
}
inline bool isVowelJamo(char32_t c) {
    return c >= 0x1161 && c <= 0x1175;
}
inline bool isFinalJamo(char32_t c) {
    return c >= 0x11A8 && c <= 0x11C2;
}
inline int initialOf(char32_t c) {
    return static_cast<int>(c - 0x1100);
}
inline int vowelOf(char32_t c) {
    return static_cast<int>(c - 0x1161);
}
inline int finalOf(char32_t c) {
    return static_cast<int>(c - 0x11A7);
}

inline char32_t composeSyllable(int initial, int vowel, int final) {
    return kSyllableFirst + static_cast<char32_t>((initial * 21 + vowel) * 28 + final);
}
inline int syllableInitial(char32_t s) {
    return static_cast<int>((s - kSyllableFirst) / (21 * 28));
}
inline int syllableVowel(char32_t s) {
    return static_cast<int>((s - kSyllableFirst) / 28 % 21);
}
inline int syllableFinal(char32_t s) {
    return static_cast<int>((s - kSyllableFirst) % 28);
}

// Syllables to jamo. The compatibility letters ㄴ ㄹ ㅁ ㅂ ㅆ (as written in ending tables for
// an ending that is only a final consonant) become final jamo; anything else passes as is.
std::u32string toJamo(std::u32string_view text);
// Jamo back to syllables; jamo that do not form a syllable pass as they are.
std::u32string fromJamo(std::u32string_view jamo);

// True for the characters that make up a searchable word: Hangul syllables, ASCII letters
// and digits.
// Consonant letters count too: a query of initials (ㅎㄴㄴ) is a word.
inline bool isWordChar(char32_t c) {
    return isSyllable(c) || (c >= 0x3131 && c <= 0x314E) ||
           (c < 128 &&
            ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')));
}

// A word as the index keeps it: punctuation cut from both ends, ASCII letters lower-cased.
std::u32string normaliseWord(std::u32string_view word);

} // namespace qel::korean
