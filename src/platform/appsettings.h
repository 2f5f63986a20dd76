#pragma once

#include "platform/textcolors.h"

#include <array>
#include <cstdint>
#include <string>

namespace qel {

class SettingsStore;

struct ColorSetting {
    const char* valueName;
};
extern const std::array<ColorSetting, kColorSlotCount> kColorSettings;

// Font sizes (points) and line spacings (percent) that make sense; stored values outside
// these ranges are read as the defaults.
inline constexpr int kMinFontPointSize = 4;
inline constexpr int kMaxFontPointSize = 96;
inline constexpr int kMinLineSpacing = 50;
inline constexpr int kMaxLineSpacing = 400;

// Display settings, read once at start-up; the settings dialogs write them back.
struct AppSettings {
    int viewMode = 1;
    int showIntro = 1;
    std::string fontFaceName; // CP949; "바탕체" by default
    std::string fontSizeText = "11";
    std::string lineSpaceText = "160";
    int useDifferentColor = 1;
    int parallelMask = 127;
    std::array<std::uint32_t, kColorSlotCount> colorTable{};

    AppSettings();
    // Values that are missing or make no sense (a view mode of 7, a font size of "abc")
    // fall back to their defaults.
    static AppSettings read(const SettingsStore& store);

    int fontPointSize() const;
};

// Pixel height of the display font: -(dpi * points / 72), truncated toward zero.
int displayFontHeight(int dotsPerInch, int pointSize);

} // namespace qel
