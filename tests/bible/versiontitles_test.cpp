#include "bible/versiontitles.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(VersionTitles, AliasesAndUnknownCodes) {
    // The historic misspelling is what the windows and lists show for an unknown code.
    for (const char* code : {"XYZ", "vra", ""}) {
        EXPECT_EQ(versionShortTitle(code), "unknwon") << code;
        EXPECT_EQ(versionFullTitle(code), "unknwon") << code;
    }
    EXPECT_EQ(versionFullTitle("TEV"), versionFullTitle("GNB"));
    EXPECT_EQ(versionShortTitle("VRD"), utf8ToCp949("해설서 라"));
}

TEST(VersionTitles, NoteOrderSwapsVrbAndVrcAndLeavesGapsBetweenTheParts) {
    EXPECT_EQ(noteVersionIndex("VRC"), 1);
    EXPECT_EQ(noteVersionIndex("VRB"), 2);
    EXPECT_EQ(noteVersionIndex("TEV"), 6);
    EXPECT_EQ(noteVersionIndex("GNB"), -1);
    EXPECT_EQ(noteVersionIndex("VRD"), -1);
    const std::pair<const char*, int> numbers[] = {{"mal", 39}, {"tob", 41}, {"mat", 61},
                                                   {"rev", 87}, {"xyz", 99}, {"Gen", 99}};
    for (const auto& [code, number] : numbers)
        EXPECT_EQ(bookNumber(code), number) << code;
}

TEST(VersionTitles, BookNameOfAbbreviationByVersion) {
    EXPECT_EQ(bookNameOfAbbreviation("VRA", utf8ToCp949("창")), utf8ToCp949("창세기"));
    EXPECT_EQ(bookNameOfAbbreviation("KJV", "Gn"), "Genesis");
    EXPECT_EQ(bookNameOfAbbreviation("VRD", utf8ToCp949("창")), std::nullopt);
    EXPECT_EQ(bookNameOfAbbreviation("VRA", "Gn"), std::nullopt);
}

} // namespace
} // namespace qel
