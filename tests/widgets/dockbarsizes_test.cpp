#include "widgets/dockbarsizes.h"

#include "../support/tempdir.h"
#include "platform/settingsstore.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {

const DockBarSizes kDefaults = {{600, 160}, {250, 400}, {400, 250}};

} // namespace

// Surviving a restart through the window is SidePanelTest's; here, the keys of each bar.
TEST(DockBarSizes, EachBarReadsBackItsOwnSizes) {
    TempDir dir;
    SettingsStore store((dir.path() / "s.ini").string());
    const DockBarSizes sizes = {{700, 120}, {180, 500}, {320, 240}};
    EXPECT_EQ(loadDockBarSizes(store, "VRA-SCBar-115", kDefaults), kDefaults);
    EXPECT_TRUE(saveDockBarSizes(store, "VRA-SCBar-115", sizes));
    EXPECT_EQ(store.readInt("VRA-SCBar-115", "sizeVertCX", 0), 180);
    EXPECT_EQ(store.readInt("VRA-SCBar-115", "sizeFloatCY", 0), 240);
    EXPECT_EQ(loadDockBarSizes(store, "VRA-SCBar-115", kDefaults), sizes);
    EXPECT_EQ(loadDockBarSizes(store, "VRA-SCBar-102", kDefaults), kDefaults);
}

TEST(DockBarSizes, GarbageZeroAndNegativeValuesFallBackToTheDefaults) {
    TempDir dir;
    SettingsStore store((dir.path() / "s.ini").string());
    store.writeString("B-SCBar-1", "sizeHorzCX", "wide");
    store.writeInt("B-SCBar-1", "sizeHorzCY", -5);
    store.writeInt("B-SCBar-1", "sizeVertCX", 0);
    store.writeString("B-SCBar-1", "sizeVertCY", "12px");
    store.writeInt("B-SCBar-1", "sizeFloatCX", 333);
    store.writeString("B-SCBar-1", "sizeFloatCY", "99999999999999");
    const DockBarSizes sizes = loadDockBarSizes(store, "B-SCBar-1", kDefaults);
    EXPECT_EQ(sizes.horz, kDefaults.horz);
    EXPECT_EQ(sizes.vert, kDefaults.vert);
    EXPECT_EQ(sizes.floating, (DockBarSizes::Size{333, 250}));
}

TEST(DockBarSizes, ExtentStaysBetweenTheMinimumAndTheRoom) {
    EXPECT_EQ(dockBarExtent(10, 800), 30);
    EXPECT_EQ(dockBarExtent(200, 800), 200);
    EXPECT_EQ(dockBarExtent(5000, 800), 800);
    EXPECT_EQ(dockBarExtent(200, 20), 30);
}
