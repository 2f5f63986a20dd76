#pragma once

#include <string>
#include <string_view>

// Small text helpers that every folder may use. Texts are CP949 or ASCII.
namespace qel {

// Byte classes of the C locale, whatever locale the program runs in; bytes of double-byte
// characters are never among them.
inline bool isAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
inline bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Like C atoi: leading blanks, an optional sign, then digits up to the first non-digit
// ("3-5" -> 3); 0 when there are none. Clamped to the int range instead of overflowing.
int atoiText(std::string_view text);

// Without blanks, tabs and carriage returns at either end.
std::string_view trimmed(std::string_view text);

// The local time now, written by strftime with `format` (at most 63 characters out).
std::string localTimeText(const char* format);

} // namespace qel
