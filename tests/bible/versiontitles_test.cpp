#include "bible/versiontitles.h"

#include "bible/booktable.h"
#include "platform/codec.h"

#include <gtest/gtest.h>

#include <set>

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

TEST(VersionTitles, FullTitles) {
    EXPECT_EQ(versionFullTitle("GNB"), "Today's English Version");
    EXPECT_EQ(versionFullTitle("TEV"), "Today's English Version");
    EXPECT_EQ(versionFullTitle("VRB"), cp("역본 나 성서"));
    EXPECT_EQ(versionFullTitle("VRD"), cp("해설 전서 라"));
    EXPECT_EQ(versionFullTitle("XYZ"), kUnknown);

    EXPECT_EQ(versionTitleOf("VRC", true), cp("성경전서 역본 다"));
    EXPECT_EQ(versionTitleOf("VRC", false), cp("역본 다"));
    EXPECT_EQ(versionTitleOf("GNB", false), "TEV");
    EXPECT_EQ(versionTitleOf("XYZ", true), kUnknown);
}

TEST(VersionTitles, ReverseLookupsRoundTrip) {
    for (const char* code : {"VRA", "VRB", "VRC", "VRD", "VRE", "KJV", "NIV", "TEV"}) {
        const std::string shortTitle = versionShortTitle(code);
        EXPECT_EQ(versionCodeOfShortTitle(shortTitle), code);
        EXPECT_EQ(shortTitleOfFullTitle(versionFullTitle(code)), shortTitle) << code;
    }
    EXPECT_EQ(versionCodeOfShortTitle(cp("역본")), kUnknown);
    EXPECT_EQ(versionCodeOfShortTitle("GNB"), kUnknown);
    EXPECT_EQ(shortTitleOfFullTitle("today's english version"), kUnknown);
    // A short title is not a full title.
    EXPECT_EQ(shortTitleOfFullTitle(cp("역본 가")), kUnknown);
}

TEST(VersionTitles, ComparisonAndNoteIndexesDifferInPlacesOneAndTwo) {
    EXPECT_EQ(comparisonIndexOf("VRC"), 2);
    EXPECT_EQ(noteVersionIndex("VRC"), 1);
    EXPECT_EQ(comparisonIndexOf("VRB"), 1);
    EXPECT_EQ(noteVersionIndex("VRB"), 2);
    for (const char* code : {"VRA", "VRE", "KJV", "NIV", "TEV"})
        EXPECT_EQ(comparisonIndexOf(code), noteVersionIndex(code)) << code;
    EXPECT_EQ(noteVersionIndex("TEV"), 6);
    EXPECT_EQ(noteVersionIndex("GNB"), -1);
    EXPECT_EQ(noteVersionIndex("VRD"), -1);
    EXPECT_EQ(comparisonIndexOf("VRD"), -1);
}

TEST(VersionTitles, ComparisonLabels) {
    EXPECT_EQ(comparisonLabel(0), cp("성경전서 역본 가"));
    EXPECT_EQ(comparisonLabel(2), cp("성경전서 역본 다"));
    EXPECT_EQ(comparisonLabel(3), cp("성경전서 역본 마"));
    EXPECT_EQ(comparisonLabel(6), "Today's English Version");
    EXPECT_EQ(comparisonLabel(-1), "");
    EXPECT_EQ(comparisonLabel(7), "");
}

TEST(VersionTitles, BookNameOfAbbreviation) {
    EXPECT_EQ(bookNameOfAbbreviation("VRA", cp("창")), cp("창세기"));
    EXPECT_EQ(bookNameOfAbbreviation("VRD", cp("창")), std::nullopt);
    EXPECT_EQ(bookNameOfAbbreviation("GNB", "Gn"), std::nullopt);
    EXPECT_EQ(bookNameOfAbbreviation("TEV", "Tb"), "Tobit");
    EXPECT_EQ(bookNameOfAbbreviation("KJV", "1 S"), "1 Samuel");
    EXPECT_EQ(bookNameOfAbbreviation("KJV", "1S"), std::nullopt);
    EXPECT_EQ(bookNameOfAbbreviation("VRC", cp("요일")), cp("요한1서"));
    EXPECT_EQ(bookNameOfAbbreviation("VRA", cp("요일")), std::nullopt);
    EXPECT_EQ(bookNameOfAbbreviation("VRB", cp("에스(외)")), cp("에스델 (제2경전/외경)"));

    // Abbreviation -> name -> abbreviation through the book table.
    for (const char* version : {"VRA", "VRB", "VRC", "VRE", "KJV", "NIV", "TEV"}) {
        for (const BookRow& row : bookTableOf(version)) {
            auto name = bookNameOfAbbreviation(version, row.abbreviation);
            ASSERT_TRUE(name.has_value()) << version << " " << row.code;
            EXPECT_EQ(bookAbbrOf(*name, version), row.abbreviation);
        }
    }
}

TEST(VersionTitles, BookNumbers) {
    EXPECT_EQ(bookNumber("gen"), 1);
    EXPECT_EQ(bookNumber("mal"), 39);
    EXPECT_EQ(bookNumber("tob"), 41);
    EXPECT_EQ(bookNumber("da3"), 50);
    EXPECT_EQ(bookNumber("pra"), 55);
    EXPECT_EQ(bookNumber("mat"), 61);
    EXPECT_EQ(bookNumber("rev"), 87);
    EXPECT_EQ(bookNumber("xyz"), 99);
    EXPECT_EQ(bookNumber("GEN"), 99);
    EXPECT_EQ(bookNumber(""), 99);

    // Every book of the largest table has its own number, none in the gaps.
    std::set<int> numbers;
    for (const BookRow& row : bookTableOf("GNB")) {
        const int n = bookNumber(row.code);
        EXPECT_TRUE(numbers.insert(n).second) << row.code;
        EXPECT_TRUE((n >= 1 && n <= 39) || (n >= 41 && n <= 55) || (n >= 61 && n <= 87))
            << row.code << " " << n;
    }
    EXPECT_EQ(numbers.size(), 81u);
}

} // namespace
} // namespace qel
