#include "platform/appsettings.h"

#include "../support/tempdir.h"
#include "platform/codec.h"
#include "platform/settingsstore.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(AppSettings, DefaultsWhenNothingIsStored) {
    TempDir dir;
    const AppSettings s = AppSettings::read(SettingsStore((dir.path() / "s.ini").string()));
    EXPECT_EQ(s.viewMode, 1);
    EXPECT_EQ(s.showIntro, 1);
    EXPECT_EQ(s.fontFaceName, utf8ToCp949("바탕체"));
    EXPECT_EQ(s.fontSizeText, "11");
    EXPECT_EQ(s.lineSpaceText, "160");
    EXPECT_EQ(s.useDifferentColor, 1);
    EXPECT_EQ(s.parallelMask, 127);
    const std::array<std::uint32_t, kColorSlotCount> expected = {
        0x007F00, 0x7F0000, 0xFF0000, 0x3FFF3F, 0xFF3F3F, 0x3F3F7F, 0x0000FF, 0xFF0000, 0x3F3F7F};
    EXPECT_EQ(s.colorTable, expected);
}

TEST(AppSettings, StoredValuesAndGarbage) {
    TempDir dir;
    SettingsStore store((dir.path() / "s.ini").string());
    store.writeInt("Settings", "View Mode", 2);
    store.writeInt("Settings", "ViewIntro", 0);
    store.writeString("Settings", "Font Size", "14");
    store.writeInt("Settings", "Name", 0x123456);
    store.writeInt("Settings", "Parallel", 5);
    EXPECT_EQ(AppSettings::read(store).viewMode, 2);
    EXPECT_EQ(AppSettings::read(store).showIntro, 0);
    EXPECT_EQ(AppSettings::read(store).fontPointSize(), 14);
    EXPECT_EQ(AppSettings::read(store).colorTable[kColorPersonName], 0x123456u);
    EXPECT_EQ(AppSettings::read(store).parallelMask, 5);

    store.writeInt("Settings", "View Mode", 7);
    store.writeString("Settings", "Font Size", "abc");
    store.writeString("Settings", "Line Space", "-3");
    store.writeString("Settings", "HFont Name", "");
    const AppSettings s = AppSettings::read(store);
    EXPECT_EQ(s.viewMode, 1);
    EXPECT_EQ(s.fontSizeText, "11");
    EXPECT_EQ(s.lineSpaceText, "160");
    EXPECT_EQ(s.fontFaceName, utf8ToCp949("바탕체"));
}

TEST(AppSettings, DisplayFontHeightTruncates) {
    EXPECT_EQ(displayFontHeight(96, 11), -14); // -1056 / 72
    EXPECT_EQ(displayFontHeight(120, 10), -16);
    EXPECT_EQ(displayFontHeight(72, 30), -30);
}
