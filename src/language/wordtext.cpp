#include "language/wordtext.h"

#include "platform/codec.h"

#include <cstring>

namespace qel::wordtext {
namespace {

bool isTagLetter(char c) {
    return c != 0 && std::strchr("ABFTWNICRSHD", c) != nullptr;
}

// Tags that start or end a line or a cell: the words on either side are not joined.
bool separatesWords(char letter, bool closing) {
    switch (letter) {
    case 'B':
    case 'H':
    case 'I':
    case 'R':
    case 'T':
        return true;
    case 'C':
        return closing;
    default:
        return false;
    }
}

// Index just past the "}" that ends the opening tag whose letter is at text[i], or npos when
// the tag never ends. A quoted value runs to its quote followed by "}", so it may hold
// blanks and braces.
std::size_t endOfOpeningTag(std::string_view text, std::size_t i) {
    std::size_t j = i + 1;
    while (j < text.size()) {
        const char c = text[j];
        if (c == '}')
            return j + 1;
        if (c == '=') {
            std::size_t k = j + 1;
            while (k < text.size() &&
                   (text[k] == ' ' || text[k] == '\t' || text[k] == '\r' || text[k] == '\n'))
                ++k;
            if (k < text.size() && (text[k] == '"' || text[k] == '\'')) {
                const char quote = text[k];
                for (std::size_t m = k + 1; m + 1 < text.size(); ++m)
                    if (text[m] == quote && text[m + 1] == '}')
                        return m + 2;
                return std::string_view::npos;
            }
            j = k;
            continue;
        }
        ++j;
    }
    return std::string_view::npos;
}

} // namespace

std::string plainVerseText(std::string_view markup) {
    std::string out;
    out.reserve(markup.size());
    bool blank = false; // a blank is due before the next visible byte
    auto putBlank = [&] { blank = !out.empty(); };
    auto put = [&](char c) {
        if (blank) {
            out.push_back(' ');
            blank = false;
        }
        out.push_back(c);
    };
    std::size_t i = 0;
    while (i < markup.size()) {
        const char c = markup[i];
        if (c == '{') {
            if (i + 1 >= markup.size())
                break;
            const char letter = markup[i + 1];
            if (letter == '/') {
                if (i + 2 < markup.size() && separatesWords(markup[i + 2], true))
                    putBlank();
                i += 4; // "{/", the letter and its "}"
                continue;
            }
            if (!isTagLetter(letter)) {
                // Not a tag: the brace and the byte after it are dropped, the rest is text.
                i += 2;
                if (isLeadByte(static_cast<unsigned char>(letter)) && i < markup.size())
                    ++i;
                continue;
            }
            const std::size_t end = endOfOpeningTag(markup, i + 1);
            if (end == std::string_view::npos)
                break;
            if (separatesWords(letter, false))
                putBlank();
            i = end;
            if (letter == 'N' || letter == 'D') {
                // A footnote marker or a verse number is not part of the verse's words.
                const char closing[] = {'{', '/', letter, 0};
                const std::size_t close = markup.find(closing, i);
                if (close != std::string_view::npos)
                    i = std::min(markup.size(), close + 4);
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            putBlank();
            ++i;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        put(c);
        ++i;
        if (isLeadByte(byte) && i < markup.size() && markup[i] != '{') {
            put(markup[i]);
            ++i;
        }
    }
    return out;
}

bool isWordCodePoint(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7)             // Latin letters
           || (c >= 0x370 && c <= 0x3FF)                                   // Greek
           || (c >= 0x400 && c <= 0x4FF)                                   // Cyrillic
           || (c >= 0x1100 && c <= 0x11FF)                                 // Hangul jamo
           || (c >= 0x3041 && c <= 0x30FF)                                 // kana
           || (c >= 0x3131 && c <= 0x318E)                                 // compatibility jamo
           || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) // Hanja
           || (c >= 0xAC00 && c <= 0xD7A3)                                 // Hangul
           || (c >= 0xF900 && c <= 0xFAFF);
}

bool containsHangul(std::u32string_view text) {
    for (char32_t c : text)
        if ((c >= 0xAC00 && c <= 0xD7A3) || (c >= 0x3131 && c <= 0x318E) ||
            (c >= 0x1100 && c <= 0x11FF))
            return true;
    return false;
}

} // namespace qel::wordtext
