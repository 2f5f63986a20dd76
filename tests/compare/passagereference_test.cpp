#include "compare/passagereference.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {

// "book [heading] chapter:first-endChapter:last" per span, or chapter:last for one verse;
// spans under the same written reference follow after a comma.
std::string describe(const std::vector<VerseSpan>& spans) {
    std::string text;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const VerseSpan& s = spans[i];
        if (i > 0 && s.book == spans[i - 1].book && s.heading == spans[i - 1].heading)
            text += ", ";
        else
            text += (i > 0 ? "; " : "") + s.book + " [" + s.heading + "] ";
        text += std::to_string(s.chapter) + ":";
        if (s.range)
            text += std::to_string(s.firstVerse) + "-" + std::to_string(s.endChapter) + ":";
        text += std::to_string(s.lastVerse);
    }
    return text;
}

using Reader = std::vector<VerseSpan> (*)(std::string_view);

} // namespace

TEST(PassageReferences, EachGrammarReadsItsForms) {
    const struct {
        Reader read;
        const char* references;
        const char* spans;
    } cases[] = {
        {readGospelReferences, "mat10:1", "mat [10:1] 10:1"},
        {readGospelReferences, "jhn18:39-19:16", "jhn [18:39-19:16] 18:39-19:16"},
        // Verses without a chapter continue the chapter named last; ',' may name a new one.
        {readGospelReferences, "mat3:1-12 luk22:7-14,21-23",
         "mat [3:1-12] 3:1-3:12; luk [22:7-14,21-23] 22:7-22:14, 22:21-22:23"},
        {readGospelReferences, "luk11:34-36,12:22-34,16:13",
         "luk [11:34-36,12:22-34,16:13] 11:34-11:36, 12:22-12:34, 16:13"},
        {readGospelReferences, "mat26:57,59-68", "mat [26:57,59-68] 26:57, 26:59-26:68"},
        // A digit before a letter starts a history book code...
        {readHistoryReferences, "1ch10:1-14 1sa31:1-13",
         "1ch [10:1-14] 10:1-10:14; 1sa [31:1-13] 31:1-31:13"},
        {readHistoryReferences, "2sa2:12-3:1", "2sa [2:12-3:1] 2:12-3:1"},
        // ...but "14" and "15" after ',' are chapters: a digit follows the '1'.
        {readHistoryReferences, "1ch13:1-14,15:25-16:6,16:43",
         "1ch [13:1-14,15:25-16:6,16:43] 13:1-13:14, 15:25-16:6, 16:43"},
        {readHistoryReferences, "2sa5:6-12 1ch11:4-9,14:1-2",
         "2sa [5:6-12] 5:6-5:12; 1ch [11:4-9,14:1-2] 11:4-11:9, 14:1-14:2"},
        // Inside a span "1" and "2" are digits even before ':' or '-'.
        {readHistoryReferences, "2ki1:2-2:1", "2ki [1:2-2:1] 1:2-2:1"},
        // Any book code may start a span; numbers never do, nor letters that name no book.
        {readBookReferences, "gen1:1 1co13:4-7 3jn1:2,4",
         "gen [1:1] 1:1; 1co [13:4-7] 13:4-13:7; 3jn [1:2,4] 1:2, 1:4"},
        {readBookReferences, "psa23:1-6,2co5:17",
         "psa [23:1-6,2co5:17] 23:1-23:6; 2co [5:17] 5:17"},
        {readBookReferences, "rom5:8,10-11", "rom [5:8,10-11] 5:8, 5:10-5:11"},
        {readBookReferences, "love me", ""},
        {readBookReferences, "", ""},
        {readGospelReferences, "", ""},
        {readGospelReferences, "jhn", ""}, // a code alone names no verse
        // At the start of a span a chapter 1 or 2 is read as a code: the grammar allows no
        // such span after ','.
        {readHistoryReferences, "1ch11:4-9,2:1", "1ch [11:4-9,2:1] 11:4-11:9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(c.read(c.references)), c.spans) << c.references;
}

TEST(PassageReferences, OnlyTheirOwnGrammarStartsABookCode) {
    // A digit is part of a number for the gospels, so "1ch" never becomes a book.
    for (const VerseSpan& s : readGospelReferences("1ch10:1-14"))
        EXPECT_NE(s.book, "1ch");
    for (const VerseSpan& s : readHistoryReferences("jhn1:1-18"))
        EXPECT_NE(s.book, "jhn") << "letters do not start history book codes";
    const std::vector<VerseSpan> huge = readGospelReferences("jhn1:99999999999999999999");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_GT(huge[0].lastVerse, 176) << "past every verse, without overflowing";
}
