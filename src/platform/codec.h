#pragma once

#include <string>
#include <string_view>

// Text inside the program is CP949; these convert at the edges (files, Qt, clipboard).
namespace qel {

// Invalid or unconvertible sequences become '?' so a bad byte never loses the rest.
std::string cp949ToUtf8(std::string_view cp949);
std::string utf8ToCp949(std::string_view utf8);

// True when the byte starts a double-byte CP949 character.
inline bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

} // namespace qel
