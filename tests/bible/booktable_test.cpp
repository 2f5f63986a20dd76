#include "bible/booktable.h"

#include "../support/cp949.h"
#include "platform/codec.h"

#include <gtest/gtest.h>

#include <set>

namespace qel {
namespace {

std::vector<std::string> codesOf(const std::vector<BookRow>& table) {
    std::vector<std::string> codes;
    for (const BookRow& row : table)
        codes.push_back(row.code);
    return codes;
}

const char* const kVersionsWithTables[] = {"VRA", "VRB", "VRC", "VRD", "VRE", "KJV", "NIV", "GNB"};

// Which codes name an edition, its alias among them, is findEdition's (EditionTable).
TEST(BookTable, UnknownCodesReadTheStandardTable) {
    EXPECT_EQ(&bookTableOf("XYZ"), &bookTableOf("VRA"));
    EXPECT_EQ(&bookTableOf(""), &bookTableOf("VRA"));
    EXPECT_EQ(&bookTableOf("KJV"), &bookTableOf("NIV"));
}

// Every row of every table: unique, whole in CP949, and found again by its name.
TEST(BookTable, RowsAreUniqueWellFormedAndFoundByTheirNames) {
    for (const char* version : kVersionsWithTables) {
        std::set<std::string> codes, abbreviations;
        for (const BookRow& row : bookTableOf(version)) {
            SCOPED_TRACE(std::string(version) + " " + row.code);
            EXPECT_TRUE(codes.insert(row.code).second);
            EXPECT_TRUE(abbreviations.insert(row.abbreviation).second);
            // A '?' would mean a name did not survive the conversion to CP949.
            EXPECT_EQ((row.name + row.abbreviation).find('?'), std::string::npos);
            EXPECT_EQ(row.code.size(), 3u);
            for (char c : row.code)
                EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
            EXPECT_EQ(bookCodeOf(row.name, version), row.code);
            EXPECT_EQ(bookAbbrOf(row.name, version), row.abbreviation);
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
        EXPECT_EQ(extra, version == std::string("VRB") ? 9u : 15u);
        EXPECT_TRUE(std::equal(standard.begin(), standard.begin() + 39, codes.begin()));
        EXPECT_TRUE(std::equal(standard.begin() + 39, standard.end(), codes.begin() + 39 + extra));
    }
}

// Every row is found by its name above; here, names a table does not hold.
TEST(BookTable, NamesOfOtherTablesAreNotFound) {
    EXPECT_EQ(bookCodeOf(cp("여호수아기"), "VRA"), ""); // VRC's name of Joshua
    EXPECT_EQ(bookCodeOf("genesis", "KJV"), "");
    EXPECT_EQ(bookCodeOf("", "VRA"), "");
    EXPECT_EQ(bookAbbrOf("2 Maccabees", "KJV"), "");
}

TEST(BibleVersions, CodesAndParallelIndexes) {
    EXPECT_TRUE(isBibleVersion("VRD"));
    for (const char* code : {"XYZ", "kjv", ""})
        EXPECT_FALSE(isBibleVersion(code)) << code;
    // The parallel view has no column for the commentary edition VRD.
    EXPECT_EQ(parallelVersionIndex("VRE"), 3);
    EXPECT_EQ(parallelVersionIndex("VRD"), -1);
    EXPECT_EQ(parallelVersionIndex("XYZ"), -1);
}

TEST(BookTable, Testaments) {
    EXPECT_FALSE(isNewTestament("mal"));
    EXPECT_TRUE(isNewTestament("mat"));
    EXPECT_TRUE(isNewTestament("rev"));
    for (const char* code : {"tob", "pra", "xyz", ""})
        EXPECT_FALSE(isNewTestament(code)) << code;
}

} // namespace
} // namespace qel
