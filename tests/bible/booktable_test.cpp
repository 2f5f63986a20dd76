#include "bible/booktable.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

#include <set>

namespace qel {
namespace {

std::string cp(std::string_view utf8) {
    return utf8ToCp949(utf8);
}

std::vector<std::string> codesOf(const std::vector<BookRow>& table) {
    std::vector<std::string> codes;
    for (const BookRow& row : table)
        codes.push_back(row.code);
    return codes;
}

void expectRow(const BookRow& row, const char* code, const char* abbrUtf8, const char* nameUtf8) {
    EXPECT_EQ(row.code, code);
    EXPECT_EQ(row.abbreviation, cp(abbrUtf8)) << code;
    EXPECT_EQ(row.name, cp(nameUtf8)) << code;
}

const char* const kVersionsWithTables[] = {"VRA", "VRB", "VRC", "VRD", "VRE", "KJV", "NIV", "GNB"};

TEST(BookTable, SizesPerVersion) {
    EXPECT_EQ(bookTableOf("VRA").size(), 66u);
    EXPECT_EQ(bookTableOf("VRD").size(), 66u);
    EXPECT_EQ(bookTableOf("VRE").size(), 66u);
    EXPECT_EQ(bookTableOf("VRC").size(), 66u);
    EXPECT_EQ(bookTableOf("VRB").size(), 75u);
    EXPECT_EQ(bookTableOf("KJV").size(), 66u);
    EXPECT_EQ(bookTableOf("NIV").size(), 66u);
    EXPECT_EQ(bookTableOf("GNB").size(), 81u);
}

TEST(BookTable, AliasesAndUnknownCodes) {
    EXPECT_EQ(&bookTableOf("TEV"), &bookTableOf("GNB"));
    EXPECT_EQ(&bookTableOf("XYZ"), &bookTableOf("VRA"));
    EXPECT_EQ(&bookTableOf(""), &bookTableOf("VRA"));
    // Codes are case-sensitive.
    EXPECT_EQ(&bookTableOf("vrb"), &bookTableOf("VRA"));
    EXPECT_EQ(&bookTableOf("KJV"), &bookTableOf("NIV"));
}

TEST(BookTable, CodesAreUniqueAndWellFormed) {
    for (const char* version : kVersionsWithTables) {
        std::set<std::string> codes, names, abbreviations;
        for (const BookRow& row : bookTableOf(version)) {
            EXPECT_TRUE(codes.insert(row.code).second) << version << " " << row.code;
            EXPECT_TRUE(names.insert(row.name).second) << version << " " << row.code;
            EXPECT_TRUE(abbreviations.insert(row.abbreviation).second)
                << version << " " << row.code;
            // A '?' would mean a name did not survive the conversion to CP949.
            EXPECT_EQ(row.name.find('?'), std::string::npos) << version << " " << row.code;
            EXPECT_EQ(row.abbreviation.find('?'), std::string::npos) << version << " " << row.code;
            ASSERT_EQ(row.code.size(), 3u) << version;
            for (char c : row.code)
                EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) << row.code;
        }
    }
}

TEST(BookTable, VersionsShareTheStandardOrder) {
    const auto standard = codesOf(bookTableOf("VRA"));
    EXPECT_EQ(codesOf(bookTableOf("VRC")), standard);
    EXPECT_EQ(codesOf(bookTableOf("KJV")), standard);

    // VRB and GNB insert their deuterocanonical books between the testaments.
    for (const char* version : {"VRB", "GNB"}) {
        const auto codes = codesOf(bookTableOf(version));
        const std::size_t extra = codes.size() - standard.size();
        EXPECT_TRUE(std::equal(standard.begin(), standard.begin() + 39, codes.begin()));
        EXPECT_TRUE(std::equal(standard.begin() + 39, standard.end(), codes.begin() + 39 + extra));
    }
}

TEST(BookTable, StandardRows) {
    const auto& t = bookTableOf("VRA");
    expectRow(t.front(), "gen", "창", "창세기");
    expectRow(t[24], "lam", "애", "예레미야애가");
    expectRow(t[38], "mal", "말", "말라기");
    expectRow(t[39], "mat", "마", "마태복음");
    expectRow(t[61], "1jn", "요1", "요한1서");
    expectRow(t.back(), "rev", "계", "요한계시록");
}

TEST(BookTable, VrcRowsDifferWhereExpected) {
    const auto& t = bookTableOf("VRC");
    expectRow(t[5], "jos", "수", "여호수아기");
    expectRow(t[14], "ezr", "라", "에스라기");
    expectRow(t[16], "est", "더", "에스더기");
    expectRow(t[24], "lam", "애", "예레미야 애가");
    expectRow(t[61], "1jn", "요일", "요한1서");
    expectRow(t[63], "3jn", "요삼", "요한3서");
    // Rows outside the list of differences stay standard.
    expectRow(t[0], "gen", "창", "창세기");
    expectRow(t[44], "rom", "롬", "로마서");
    expectRow(t.back(), "rev", "계", "요한계시록");
}

TEST(BookTable, VrbRows) {
    const auto& t = bookTableOf("VRB");
    expectRow(t[0], "gen", "창세", "창세기");
    expectRow(t[6], "jdg", "판관", "판관기");
    expectRow(t[38], "mal", "말라", "말라기");
    expectRow(t[39], "tob", "토비", "토비트");
    expectRow(t[41], "gke", "에스(외)", "에스델 (제2경전/외경)");
    expectRow(t[45], "da1", "다니(외)", "다니엘 (제2경전/외경)");
    expectRow(t[47], "2ma", "2마카", "마카베오하");
    expectRow(t[48], "mat", "마태", "마태오의 복음서");
    expectRow(t[72], "3jn", "3요한", "요한의 세째 편지");
    expectRow(t.back(), "rev", "묵시", "요한의 묵시록");
}

TEST(BookTable, EnglishRows) {
    const auto& t = bookTableOf("KJV");
    expectRow(t[0], "gen", "Gn", "Genesis");
    expectRow(t[8], "1sa", "1 S", "1 Samuel");
    expectRow(t[14], "ezr", "Ezra", "Ezra");
    expectRow(t[21], "sng", "Sgs", "Song of Songs");
    expectRow(t[38], "mal", "Ml", "Malachi");
    expectRow(t[39], "mat", "Mt", "Matthew");
    expectRow(t[59], "1pe", "1 P", "1 Peter");
    expectRow(t.back(), "rev", "Rev", "Revelation");
}

TEST(BookTable, GnbRows) {
    const auto& t = bookTableOf("GNB");
    expectRow(t[38], "mal", "Ml", "Malachi");
    expectRow(t[39], "tob", "Tb", "Tobit");
    expectRow(t[41], "gke", "Gk Est", "Esther (Greek)");
    expectRow(t[46], "da1", "S of 3 Y", "Song of Three Young Men");
    expectRow(t[53], "pra", "Man", "The Prayer of Manasseh");
    expectRow(t[54], "mat", "Mt", "Matthew");
    expectRow(t.back(), "rev", "Rev", "Revelation");
}

TEST(BookTable, Lookups) {
    EXPECT_EQ(bookCodeOf(cp("여호수아기"), "VRC"), "jos");
    EXPECT_EQ(bookCodeOf(cp("여호수아기"), "VRA"), "");
    EXPECT_EQ(bookCodeOf("genesis", "KJV"), "");
    EXPECT_EQ(bookCodeOf("", "VRA"), "");

    EXPECT_EQ(bookAbbrOf(cp("요한1서"), "VRA"), cp("요1"));
    EXPECT_EQ(bookAbbrOf(cp("요한1서"), "VRC"), cp("요일"));
    EXPECT_EQ(bookAbbrOf("2 Maccabees", "GNB"), "2 Macc");
    EXPECT_EQ(bookAbbrOf("2 Maccabees", "KJV"), "");
}

TEST(BookTable, NameRoundTrips) {
    for (const char* version : kVersionsWithTables) {
        for (const BookRow& row : bookTableOf(version)) {
            EXPECT_EQ(bookCodeOf(row.name, version), row.code) << version;
            EXPECT_EQ(bookAbbrOf(row.name, version), row.abbreviation) << version;
        }
    }
}

TEST(BibleVersions, ListAndIndexes) {
    const auto& versions = bibleVersions();
    ASSERT_EQ(versions.size(), 8u);
    const char* const order[] = {"VRA", "VRB", "VRC", "VRD", "VRE", "KJV", "NIV", "GNB"};
    for (std::size_t i = 0; i < versions.size(); ++i) {
        EXPECT_STREQ(versions[i].code, order[i]);
    }
    EXPECT_EQ(versions[0].windowTitle, cp("성경전서 역본 가"));
    EXPECT_EQ(versions[1].windowTitle, cp("역본 나 성서"));
    EXPECT_EQ(versions[3].windowTitle, cp("해설 라"));
    EXPECT_EQ(versions[7].windowTitle, "Today's English Version");

    EXPECT_TRUE(isBibleVersion("VRD"));
    EXPECT_TRUE(isBibleVersion("TEV"));
    EXPECT_FALSE(isBibleVersion("XYZ"));
    EXPECT_FALSE(isBibleVersion("kjv"));
    EXPECT_FALSE(isBibleVersion(""));

    EXPECT_EQ(parallelVersionIndex("VRA"), 0);
    EXPECT_EQ(parallelVersionIndex("VRC"), 2);
    EXPECT_EQ(parallelVersionIndex("VRE"), 3);
    EXPECT_EQ(parallelVersionIndex("GNB"), 6);
    EXPECT_EQ(parallelVersionIndex("TEV"), 6);
    EXPECT_EQ(parallelVersionIndex("VRD"), -1);
    EXPECT_EQ(parallelVersionIndex("XYZ"), -1);
}

TEST(BookTable, Testaments) {
    EXPECT_FALSE(isNewTestament("gen"));
    EXPECT_FALSE(isNewTestament("mal"));
    EXPECT_TRUE(isNewTestament("mat"));
    EXPECT_TRUE(isNewTestament("rev"));
    for (const char* code : {"tob", "pra", "xyz", ""})
        EXPECT_FALSE(isNewTestament(code)) << code;
}

} // namespace
} // namespace qel
