#include "bible/versiontitles.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

std::string cp(std::string_view utf8) {
    return utf8ToCp949(utf8);
}

const std::string kUnknown = "unknwon";

TEST(VersionTitles, ShortTitles) {
    EXPECT_EQ(versionShortTitle("KJV"), "KJV");
    EXPECT_EQ(versionShortTitle("TEV"), "TEV");
    EXPECT_EQ(versionShortTitle("VRA"), cp("역본 가"));
    EXPECT_EQ(versionShortTitle("VRD"), cp("해설서 라"));
    EXPECT_EQ(versionShortTitle("XYZ"), kUnknown);
    EXPECT_EQ(versionShortTitle("vra"), kUnknown);
    EXPECT_EQ(versionShortTitle(""), kUnknown);
}

} // namespace
} // namespace qel

namespace qel {
namespace {

TEST(VersionTitles, FullTitles) {
    EXPECT_EQ(versionFullTitle("VRA"), cp("성경전서 역본 가"));
    EXPECT_EQ(versionFullTitle("GNB"), "Today's English Version");
    EXPECT_EQ(versionFullTitle("TEV"), "Today's English Version");
    EXPECT_EQ(versionFullTitle("VRX"), kUnknown);
}

TEST(VersionTitles, NoteVersionIndexSwapsVrbAndVrc) {
    EXPECT_EQ(noteVersionIndex("VRA"), 0);
    EXPECT_EQ(noteVersionIndex("VRC"), 1);
    EXPECT_EQ(noteVersionIndex("VRB"), 2);
    EXPECT_EQ(noteVersionIndex("TEV"), 6);
    EXPECT_EQ(noteVersionIndex("GNB"), -1);
    EXPECT_EQ(noteVersionIndex("VRD"), -1);
}

TEST(VersionTitles, BookNumbersLeaveGapsBetweenTheParts) {
    EXPECT_EQ(bookNumber("gen"), 1);
    EXPECT_EQ(bookNumber("mal"), 39);
    EXPECT_EQ(bookNumber("tob"), 41);
    EXPECT_EQ(bookNumber("pra"), 55);
    EXPECT_EQ(bookNumber("mat"), 61);
    EXPECT_EQ(bookNumber("1co"), 67);
    EXPECT_EQ(bookNumber("rev"), 87);
    EXPECT_EQ(bookNumber("xyz"), 99);
    EXPECT_EQ(bookNumber("Gen"), 99);
}

TEST(VersionTitles, BookNameOfAbbreviationByVersion) {
    EXPECT_EQ(bookNameOfAbbreviation("VRA", cp("창")), cp("창세기"));
    EXPECT_EQ(bookNameOfAbbreviation("KJV", "Gn"), "Genesis");
    EXPECT_EQ(bookNameOfAbbreviation("VRD", cp("창")), std::nullopt);
    EXPECT_EQ(bookNameOfAbbreviation("VRA", "Gn"), std::nullopt);
}

} // namespace
} // namespace qel
