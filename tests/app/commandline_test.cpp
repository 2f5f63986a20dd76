#include "app/commandline.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(CommandLine, ScreenshotTakesAFileAndAnyCommandKey) {
    CommandLine line = parseCommandLine({"--nologo", "--screenshot", "s.png", "Iabc"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_TRUE(line.noLogo);
    EXPECT_EQ(line.screenshotFile, "s.png");
    EXPECT_EQ(line.commandKey, "Iabc");

    // The first key counts; options Qt knows pass by.
    line = parseCommandLine({"BVRAjhn003016", "-platform", "BKJVgen001001"});
    EXPECT_EQ(line.commandKey, "BVRAjhn003016");
    EXPECT_FALSE(line.noLogo);
    EXPECT_TRUE(line.screenshotFile.empty());

    EXPECT_FALSE(parseCommandLine({"--screenshot"}).error.empty());
}

TEST(CommandLine, WindowTakesADocumentTypeCodeAndAPlace) {
    CommandLine line = parseCommandLine({"--window", "KJV:KJVjhn003016"});
    EXPECT_TRUE(line.error.empty()) << line.error;
    EXPECT_EQ(line.windowCode, "KJV");
    EXPECT_EQ(line.windowPlace, "KJVjhn003016");

    // The place is everything after the first colon.
    line = parseCommandLine({"--window", "MAP:a:b", "--screenshot", "m.png"});
    EXPECT_EQ(line.windowCode, "MAP");
    EXPECT_EQ(line.windowPlace, "a:b");
    EXPECT_EQ(line.screenshotFile, "m.png");

    line = parseCommandLine({"--command", "102", "--command", "32804", "--command", "x"});
    EXPECT_EQ(line.commands, (std::vector<int>{102, 32804}));
    EXPECT_EQ(line.error, "--command needs a command number");
    line = parseCommandLine({"--window", "COMPAREHIS"});
    EXPECT_TRUE(line.error.empty());
    EXPECT_TRUE(line.windowPlace.empty());

    for (const char* bad : {"NOSUCH", "bOOK", "vra", "PARALLE", "TEV", "", ":gen001001"}) {
        line = parseCommandLine({"--window", bad});
        EXPECT_NE(line.error.find("no window has this code"), std::string::npos) << bad;
        EXPECT_NE(line.error.find("COMPAREHIS"), std::string::npos) << "names the known codes";
    }
    EXPECT_FALSE(parseCommandLine({"--window"}).error.empty());
}
