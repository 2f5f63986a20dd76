#pragma once

#include "platform/codec.h"

#include <string>

namespace qel {

// The program's title (string 128): main window, message boxes, printout footers.
inline constexpr const char* kApplicationTitle = "QEL CD-ROM 성경"; // UTF-8

// The title as program text (CP949).
inline std::string applicationTitle() {
    return utf8ToCp949(kApplicationTitle);
}

} // namespace qel
