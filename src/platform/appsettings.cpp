#include "platform/appsettings.h"

#include "platform/codec.h"
#include "platform/settingsstore.h"

#include <charconv>

namespace qel {

const std::array<ColorSetting, kColorSlotCount> kColorSettings = {{
    {"Section"},
    {"SmallTitle"},
    {"Link"},
    {"Related Word"},
    {"Old"},
    {"Foot Note"},
    {"Name"},
    {"Place"},
    {"Proper"},
}};

namespace {

constexpr const char* kSection = "Settings";

bool isNumberInRange(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

int booleanValue(const SettingsStore& store, const char* name) {
    return store.readInt(kSection, name, 1) != 0 ? 1 : 0;
}

} // namespace

AppSettings::AppSettings() : fontFaceName(utf8ToCp949("바탕체")) {
    for (int slot = 0; slot < kColorSlotCount; ++slot)
        colorTable[slot] = kDefaultColors[slot];
}

AppSettings AppSettings::read(const SettingsStore& store) {
    AppSettings s;
    s.viewMode = store.readInt(kSection, "View Mode", 1);
    if (s.viewMode < 0 || s.viewMode > 2)
        s.viewMode = 1;
    s.showIntro = booleanValue(store, "ViewIntro");
    s.fontFaceName = store.readString(kSection, "HFont Name", s.fontFaceName);
    if (s.fontFaceName.empty())
        s.fontFaceName = AppSettings().fontFaceName;
    s.fontSizeText = store.readString(kSection, "Font Size", s.fontSizeText);
    if (!isNumberInRange(s.fontSizeText, kMinFontPointSize, kMaxFontPointSize))
        s.fontSizeText = "11";
    s.lineSpaceText = store.readString(kSection, "Line Space", s.lineSpaceText);
    if (!isNumberInRange(s.lineSpaceText, kMinLineSpacing, kMaxLineSpacing))
        s.lineSpaceText = "160";
    s.useDifferentColor = booleanValue(store, "Use Different Color");
    for (int slot = 0; slot < kColorSlotCount; ++slot)
        s.colorTable[slot] =
            static_cast<std::uint32_t>(store.readInt(kSection, kColorSettings[slot].valueName,
                                                     static_cast<int>(kDefaultColors[slot]))) &
            0xFFFFFF;
    s.parallelMask = store.readInt(kSection, "Parallel", 127) & 127;
    return s;
}

int AppSettings::fontPointSize() const {
    return std::stoi(fontSizeText);
}

int displayFontHeight(int dotsPerInch, int pointSize) {
    return -(dotsPerInch * pointSize / 72);
}

} // namespace qel
