#include "compare/passagereference.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {

// book heading chapter:first-endChapter:last, or chapter:last for one verse
std::string describe(const VerseSpan& s) {
    std::string text = s.book + " [" + s.heading + "] " + std::to_string(s.chapter) + ":";
    if (s.range)
        text += std::to_string(s.firstVerse) + "-" + std::to_string(s.endChapter) + ":";
    return text + std::to_string(s.lastVerse);
}

std::vector<std::string> describeAll(const std::vector<VerseSpan>& spans) {
    std::vector<std::string> out;
    for (const VerseSpan& s : spans)
        out.push_back(describe(s));
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(GospelReferences, ReadEveryFormOfVerseSpanification) {
    EXPECT_EQ(describeAll(readGospelReferences("mat10:1")), (Lines{"mat [10:1] 10:1"}));
    EXPECT_EQ(describeAll(readGospelReferences("jhn18:39-19:16")),
              (Lines{"jhn [18:39-19:16] 18:39-19:16"}));
    // Verses without a chapter continue the chapter named last; ',' may name a new one.
    EXPECT_EQ(describeAll(readGospelReferences("mat3:1-12 luk22:7-14,21-23")),
              (Lines{"mat [3:1-12] 3:1-3:12", "luk [22:7-14,21-23] 22:7-22:14",
                     "luk [22:7-14,21-23] 22:21-22:23"}));
    EXPECT_EQ(describeAll(readGospelReferences("luk11:34-36,12:22-34,16:13")),
              (Lines{"luk [11:34-36,12:22-34,16:13] 11:34-11:36",
                     "luk [11:34-36,12:22-34,16:13] 12:22-12:34",
                     "luk [11:34-36,12:22-34,16:13] 16:13"}));
    EXPECT_EQ(describeAll(readGospelReferences("mat26:57,59-68")),
              (Lines{"mat [26:57,59-68] 26:57", "mat [26:57,59-68] 26:59-26:68"}));
}

TEST(GospelReferences, OnlyLettersStartBookCodes) {
    // A digit is part of a number here, so "1ch" never becomes a book.
    for (const VerseSpan& s : readGospelReferences("1ch10:1-14"))
        EXPECT_NE(s.book, "1ch");
    EXPECT_TRUE(readGospelReferences("").empty());
    EXPECT_TRUE(readGospelReferences("jhn").empty()) << "a code alone names no verse";
    const std::vector<VerseSpan> huge = readGospelReferences("jhn1:99999999999999999999");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_GT(huge[0].lastVerse, 176) << "past every verse, without overflowing";
}

TEST(HistoryReferences, ADigitBeforeANonDigitStartsABookCode) {
    EXPECT_EQ(describeAll(readHistoryReferences("1ch10:1-14 1sa31:1-13")),
              (Lines{"1ch [10:1-14] 10:1-10:14", "1sa [31:1-13] 31:1-31:13"}));
    EXPECT_EQ(describeAll(readHistoryReferences("2sa2:12-3:1")),
              (Lines{"2sa [2:12-3:1] 2:12-3:1"}));
    // "14" and "15" after ',' are chapters: a digit follows the '1'.
    EXPECT_EQ(describeAll(readHistoryReferences("1ch13:1-14,15:25-16:6,16:43")),
              (Lines{"1ch [13:1-14,15:25-16:6,16:43] 13:1-13:14",
                     "1ch [13:1-14,15:25-16:6,16:43] 15:25-16:6",
                     "1ch [13:1-14,15:25-16:6,16:43] 16:43"}));
    EXPECT_EQ(describeAll(readHistoryReferences("2sa5:6-12 1ch11:4-9,14:1-2")),
              (Lines{"2sa [5:6-12] 5:6-5:12", "1ch [11:4-9,14:1-2] 11:4-11:9",
                     "1ch [11:4-9,14:1-2] 14:1-14:2"}));
}

TEST(HistoryReferences, OnlyTheStartOfASpanCanBeACode) {
    // Inside a span "1" and "2" are digits even before ':' or '-'.
    EXPECT_EQ(describeAll(readHistoryReferences("2ki1:2-2:1")), (Lines{"2ki [1:2-2:1] 1:2-2:1"}));
    // At the start of one, a chapter 1 or 2 is read as a code: the grammar allows no such
    // span after ','.
    const std::vector<VerseSpan> quirk = readHistoryReferences("1ch11:4-9,2:1");
    ASSERT_EQ(quirk.size(), 1u);
    EXPECT_EQ(quirk[0].book, "1ch");
    for (const VerseSpan& s : readHistoryReferences("jhn1:1-18"))
        EXPECT_NE(s.book, "jhn") << "letters do not start book codes";
}

TEST(BookReferences, EveryBookCodeStartsAReferenceAtTheStartOfASpan) {
    EXPECT_EQ(
        describeAll(readBookReferences("gen1:1 1co13:4-7 3jn1:2,4")),
        (Lines{"gen [1:1] 1:1", "1co [13:4-7] 13:4-13:7", "3jn [1:2,4] 1:2", "3jn [1:2,4] 1:4"}));
    EXPECT_EQ(describeAll(readBookReferences("psa23:1-6,2co5:17")),
              (Lines{"psa [23:1-6,2co5:17] 23:1-23:6", "2co [5:17] 5:17"}));
    // Numbers never start a book, nor do letters that name none.
    EXPECT_EQ(describeAll(readBookReferences("rom5:8,10-11")),
              (Lines{"rom [5:8,10-11] 5:8", "rom [5:8,10-11] 5:10-5:11"}));
    EXPECT_TRUE(readBookReferences("love me").empty());
    EXPECT_TRUE(readBookReferences("").empty());
}
