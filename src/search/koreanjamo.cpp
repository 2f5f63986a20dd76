#include "search/koreanjamo.h"

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

std::u32string utf8ToU32(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        std::size_t n = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            n = 2;
        } else if ((c & 0xF0) == 0xE0) {
            n = 3;
        } else if ((c & 0xF8) == 0xF0) {
            n = 4;
        }
        if (n > 1) {
            if (i + n > s.size()) {
                out.push_back(0xFFFD);
                break;
            }
            cp = c & (0x7F >> n);
            for (std::size_t k = 1; k < n; ++k) {
                const unsigned char cc = static_cast<unsigned char>(s[i + k]);
                if ((cc & 0xC0) != 0x80) {
                    cp = 0xFFFD;
                    n = k;
                    break;
                }
                cp = (cp << 6) | (cc & 0x3F);
            }
        }
        out.push_back(cp);
        i += n;
    }
    return out;
}

std::string u32ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
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
