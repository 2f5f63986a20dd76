#include "language/koreanjamo.h"

namespace qel::korean {

namespace {

int finalOfCompatibility(char32_t c) {
    switch (c) {
    case 0x3134:
        return kFN; // ㄴ
    case 0x3139:
        return kFR; // ㄹ
    case 0x3141:
        return kFM; // ㅁ
    case 0x3142:
        return kFB; // ㅂ
    case 0x3146:
        return kFSS; // ㅆ
    default:
        return kNoFinal;
    }
}

} // namespace

std::u32string toJamo(std::u32string_view text) {
    std::u32string out;
    out.reserve(text.size() * 3);
    for (char32_t c : text) {
        if (isSyllable(c)) {
            out.push_back(initialJamo(syllableInitial(c)));
            out.push_back(vowelJamo(syllableVowel(c)));
            if (const int t = syllableFinal(c))
                out.push_back(finalJamo(t));
        } else if (const int t = finalOfCompatibility(c)) {
            out.push_back(finalJamo(t));
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u32string fromJamo(std::u32string_view jamo) {
    std::u32string out;
    out.reserve(jamo.size());
    for (std::size_t i = 0; i < jamo.size(); ++i) {
        const char32_t c = jamo[i];
        if (isInitialJamo(c) && i + 1 < jamo.size() && isVowelJamo(jamo[i + 1])) {
            int t = kNoFinal;
            if (i + 2 < jamo.size() && isFinalJamo(jamo[i + 2]) &&
                !(i + 3 < jamo.size() && isVowelJamo(jamo[i + 3])))
                t = finalOf(jamo[i + 2]);
            out.push_back(composeSyllable(initialOf(c), vowelOf(jamo[i + 1]), t));
            i += t ? 2 : 1;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u32string normaliseWord(std::u32string_view word) {
    std::size_t b = 0, e = word.size();
    while (b < e && !isWordChar(word[b]))
        ++b;
    while (e > b && !isWordChar(word[e - 1]))
        --e;
    std::u32string out(word.substr(b, e - b));
    for (char32_t& c : out)
        if (c >= 'A' && c <= 'Z')
            c = c - 'A' + 'a';
    return out;
}

} // namespace qel::korean
