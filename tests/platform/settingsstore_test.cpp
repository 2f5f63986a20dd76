#include "platform/settingsstore.h"

#include "../support/scopedenv.h"
#include "../support/shownmessages.h"
#include "../support/tempdir.h"
#include "platform/codec.h"

#include <filesystem>
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
    const ScopedEnv config("XDG_CONFIG_HOME", "/tmp/qel-xdg");
    EXPECT_EQ(SettingsStore::defaultFilePath(), "/tmp/qel-xdg/QEL/QEL CD-ROM 성경.ini");
}

TEST(SettingsStore, UnwritableFileKeepsValuesTellsTheUserOnceAndIsWrittenOnceItCanBe) {
    TempDir dir;
    std::ofstream(dir.path() / "plain") << "a file, not a folder";
    // A file where its folder should be, and a folder where the file should be.
    const std::filesystem::path files[] = {dir.path() / "plain" / "s.ini",
                                           dir.path() / "QEL CD-ROM 성경.ini"};
    std::filesystem::create_directory(files[1]);
    for (const auto& file : files) {
        ShownMessages shown;
        SettingsStore store(file.string());
        EXPECT_FALSE(store.writeInt("Settings", "View Mode", 2));
        EXPECT_FALSE(store.writeString("Last Staus", "VRA", "jhn003016"));
        EXPECT_EQ(store.readInt("Settings", "View Mode", 1), 2);
        EXPECT_EQ(store.readString("Last Staus", "VRA", ""), "jhn003016");
        ASSERT_EQ(shown.size(), 1u) << file;
        EXPECT_NE(shown[0].find(file.string()), std::string::npos) << shown[0];
        if (file != files[1])
            continue;
        EXPECT_TRUE(std::filesystem::is_empty(file));
        EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp"));
        // Once it can be written, nothing written in the meantime is lost.
        std::filesystem::remove(file);
        EXPECT_TRUE(store.writeInt("Settings", "Parallel", 3));
        EXPECT_EQ(SettingsStore(file.string()).readInt("Settings", "View Mode", 1), 2);
        EXPECT_EQ(shown.size(), 1u);
    }
}
