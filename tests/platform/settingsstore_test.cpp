#include "platform/settingsstore.h"

#include "../support/tempdir.h"
#include "platform/codec.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

TEST(SettingsStore, WritesSurviveReloadAndKoreanIsUtf8OnDisk) {
    TempDir dir;
    const std::string file = (dir.path() / "sub" / "s.ini").string();
    {
        SettingsStore store(file);
        store.writeString("Settings", "HFont Name", utf8ToCp949("굴림체"));
        store.writeInt("Settings", "Link", 0xFF0000);
        store.writeString("Last Staus", "VRA", "jhn003016");
    }
    SettingsStore store(file);
    EXPECT_EQ(store.readString("Settings", "HFont Name", ""), utf8ToCp949("굴림체"));
    EXPECT_EQ(store.readInt("Settings", "Link", 0), 0xFF0000);
    EXPECT_EQ(store.readString("Last Staus", "VRA", "gen001001"), "jhn003016");
    EXPECT_EQ(store.readString("Last Staus", "KJV", "gen001001"), "gen001001");
    std::ifstream in(file);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(all.find("HFont Name=굴림체"), std::string::npos);
}

TEST(SettingsStore, GarbageGivesDefaults) {
    TempDir dir;
    const auto file = dir.path() / "s.ini";
    std::ofstream(file) << "junk line\nX=1\n[Settings]\nView Mode=abc\nFont Size=\n"
                           "Parallel=12x\nSection=0x7F00\nOld=010\n=5\n[Broken\n";
    SettingsStore store(file.string());
    EXPECT_EQ(store.readInt("Settings", "View Mode", 1), 1);
    EXPECT_EQ(store.readInt("Settings", "Parallel", 127), 127);
    EXPECT_EQ(store.readInt("Settings", "Section", 0), 0x7F00);
    EXPECT_EQ(store.readInt("Settings", "Old", 0), 10); // decimal, not octal
    EXPECT_EQ(store.readString("Settings", "Font Size", "11"), "");
    EXPECT_FALSE(store.contains("", "X"));
}

TEST(SettingsStore, DefaultFileFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/tmp/qel-xdg", 1);
    EXPECT_EQ(SettingsStore::defaultFilePath(), "/tmp/qel-xdg/QEL/QEL CD-ROM 성경.ini");
    if (saved)
        setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
