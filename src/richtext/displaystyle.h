#pragma once

#include "platform/textcolors.h"

#include <array>
#include <cstdint>

namespace qel {

// What the layout, paint and print passes read of the display settings; the application
// fills it from its own settings.
struct DisplayStyle {
    int viewMode = 1;          // 0 a verse a line, 1 verses run on, 2 run on without numbers
    int fontSize = 11;         // points
    int lineSpacing = 160;     // percent
    int useDifferentColor = 1; // names and foreign words in their own colours
    std::array<std::uint32_t, kColorSlotCount> colorTable = kDefaultColors;
};

} // namespace qel
