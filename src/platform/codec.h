#pragma once

#include <string>
#include <string_view>

// Text inside the program is CP949; these convert at the edges (files, Qt, clipboard).
namespace qel {

// Invalid or unconvertible sequences become '?' so a bad byte never loses the rest.
std::string cp949ToUtf8(std::string_view cp949);
std::string utf8ToCp949(std::string_view utf8);

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t codePoint);
// Decodes one code point of UTF-8 at utf8[i] and advances i; malformed bytes give U+FFFD.
char32_t nextCodePoint(std::string_view utf8, std::size_t& i);
std::u32string utf8ToUtf32(std::string_view utf8);
std::string utf32ToUtf8(std::u32string_view text);

// True when the byte starts a double-byte CP949 character.
inline bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// Bytes of the character at text[i]: 2 for a lead byte with a byte after it, else 1 (a lead
// byte at the end stands alone, as it does at the end of a prefix).
inline std::size_t characterLength(std::string_view text, std::size_t i) {
    return isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Length of the longest prefix of `text` within `limit` bytes that cuts no double-byte
// character; a lead byte without its second byte at the end is left out too.
std::size_t wholeCharacterPrefix(std::string_view text, std::size_t limit);

} // namespace qel
