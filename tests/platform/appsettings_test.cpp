#include "platform/appsettings.h"

#include "../support/tempdir.h"
#include "platform/codec.h"
#include "platform/settingsstore.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(AppSettings, StoredValuesWinAndNothingOrGarbageGivesTheDefaults) {
    TempDir dir;
    SettingsStore store((dir.path() / "s.ini").string());
    const AppSettings defaults = AppSettings::read(store);
    EXPECT_EQ(defaults.showIntro, 1);
    EXPECT_EQ(defaults.parallelMask, 127);

    store.writeInt("Settings", "View Mode", 2);
    store.writeInt("Settings", "ViewIntro", 0);
    store.writeString("Settings", "Font Size", "14");
    store.writeInt("Settings", "Name", 0x123456);
    store.writeInt("Settings", "Parallel", 5);
    AppSettings s = AppSettings::read(store);
    EXPECT_EQ(s.viewMode, 2);
    EXPECT_EQ(s.showIntro, 0);
    EXPECT_EQ(s.fontPointSize(), 14);
    EXPECT_EQ(s.colorTable[kColorPersonName], 0x123456u);
    EXPECT_EQ(s.parallelMask, 5);

    store.writeInt("Settings", "View Mode", 7);
    store.writeString("Settings", "Font Size", "abc");
    store.writeString("Settings", "Line Space", "-3");
    store.writeString("Settings", "HFont Name", "");
    s = AppSettings::read(store);
    EXPECT_EQ(s.viewMode, 1);
    EXPECT_EQ(s.fontSizeText, "11");
    EXPECT_EQ(s.lineSpaceText, "160");
    EXPECT_EQ(s.fontFaceName, utf8ToCp949("바탕체"));
}
