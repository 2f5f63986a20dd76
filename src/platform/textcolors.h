#pragma once

#include <array>
#include <cstdint>

// Colours of tagged text are 0x00BBGGRR values (red in the low byte). The settings and the
// rich-text display style keep them in this slot order.
namespace qel {

enum ColorSlot {
    kColorVerseMark,
    kColorSectionTitle,
    kColorLink,
    kColorRelated,
    kColorOldTestamentQuote,
    kColorFootnote,
    kColorPersonName,
    kColorPlaceName,
    kColorForeignWord,
    kColorSlotCount
};

// The colours until the reader chooses others.
inline constexpr std::array<std::uint32_t, kColorSlotCount> kDefaultColors = {
    0x007F00, 0x7F0000, 0xFF0000, 0x3FFF3F, 0xFF3F3F, 0x3F3F7F, 0x0000FF, 0xFF0000, 0x3F3F7F};

} // namespace qel
