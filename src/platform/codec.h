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

// True when the byte starts a double-byte CP949 character.
inline bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

} // namespace qel
