#pragma once

#include "platform/codec.h"

#include <string>
#include <string_view>

// Korean literals as the program keeps them (CP949), and its texts back in UTF-8.
inline std::string cp(std::string_view utf8) {
    return qel::utf8ToCp949(utf8);
}
inline std::string u8(std::string_view cp949) {
    return qel::cp949ToUtf8(cp949);
}
