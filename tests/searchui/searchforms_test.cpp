#include "platform/codec.h"
#include "searchui/searchforms.h"

#include "../support/cp949.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(SearchForms, NormalisationAndJoinForms) {
    VerseQuery q = verseQuery(cp("사랑, 믿음"), kModeAnd);
    EXPECT_EQ(u8(q.text), "사랑 && 믿음");
    EXPECT_EQ(q.nWords, 2);
    q = verseQuery(cp("사랑, 믿음"), kModeOr);
    EXPECT_EQ(u8(q.text), "사랑 || 믿음");
    EXPECT_EQ(q.nWords, 1);
    q = verseQuery(cp("사랑, 믿음"), kModePhrase);
    EXPECT_EQ(u8(q.text), "사랑 믿음");
    EXPECT_EQ(q.nWords, 2);
    // One pass: three blanks become two, and both count.
    q = verseQuery(" \ta   b\n", kModePhrase);
    EXPECT_EQ(q.text, "a  b");
    EXPECT_EQ(q.nWords, 3);
    EXPECT_EQ(normaliseSearchQuery("a    b"), "a  b");
    EXPECT_EQ(normaliseSearchQuery(",a,,b,"), " a b ");
    EXPECT_EQ(verseEngineType(0), 1);
    EXPECT_EQ(verseEngineType(2), 3);
    EXPECT_EQ(verseEngineType(7), 1);
}

TEST(SearchForms, ShortInitialsAreRefused) {
    const struct {
        const char* query;
        bool refused;
    } cases[] = {
        {"ㅎ", true},           {"ㅎㄴ", true},      {"ㅎㄴㄴ", false},
        {"사랑 ㅎㄴ", true},    {"ㅎㄴ 사랑", true}, {"하ㄴ", false}, // not letters only
        {"ㅎㄴㄴ 사랑", false}, {"요 3", false},     {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hasShortInitialsWord(cp(c.query)), c.refused) << c.query;
}

TEST(SearchForms, CentringOfHits) {
    const std::string text = "w1 w2 w3 w4 w5 w6 w7 w8 w9 w10";
    EXPECT_EQ(verseRowCell(text, "7#9", true), "3|5||w5 w6 w7 w8 w9 w10");
    // Positions of a second record of the verse follow after "|".
    EXPECT_EQ(verseRowCell(text, "7|9#10", true), "3|5|6||w5 w6 w7 w8 w9 w10");
    EXPECT_EQ(verseRowCell(text, "3#9", true), "3|9||" + text);
    EXPECT_EQ(verseRowCell(text, "7#9", false), "7|9||" + text);
    // A text with fewer words than the shift keeps its last word.
    EXPECT_EQ(verseRowCell("one two", "9", true), "3||two");
}

TEST(SearchForms, RangeTexts) {
    EXPECT_EQ(u8(verseRangeText(2, cp("신약"))), "신약");
    EXPECT_EQ(u8(verseRangeText(0, cp("전체"))), "전체");
    EXPECT_EQ(u8(verseRangeText(64, cp("요한1서"))), "요일");
    EXPECT_EQ(u8(verseRangeText(3, cp("창세기"))), "창");
    EXPECT_EQ(verseRangeText(3, cp("없는 책")), "");
    EXPECT_EQ(verseRangeText(-1, cp("전체")), "");
    EXPECT_EQ(wordRangeText(0, "Bible", "KJV"), "all");
    EXPECT_EQ(wordRangeText(1, "Old Testament", "KJV"), "old");
    EXPECT_EQ(wordRangeText(2, cp("신약"), "VRA"), "new");
    EXPECT_EQ(wordRangeText(45, "John", "KJV"), "jhn");
    EXPECT_EQ(wordRangeText(45, cp("요한복음"), "VRA"), "jhn");
    EXPECT_TRUE(isEnglishWordSearchVersion(4));
    EXPECT_TRUE(isEnglishWordSearchVersion(6));
    EXPECT_FALSE(isEnglishWordSearchVersion(3));
    EXPECT_EQ(wordSearchVersionInfo(6).code, "GNB");
    EXPECT_EQ(wordSearchVersionInfo(6).copyTitle, "TEV");
    EXPECT_EQ(u8(wordSearchVersionInfo(9).copyTitle), "역본 가");
}

TEST(SearchForms, WordQueryTextsForEveryModeAndType) {
    const std::string q = cp("믿음 소망");
    EXPECT_EQ(u8(wordQueryText(q, kModeAnd, kTypeAllForms)), "믿음*&소망*&~");
    EXPECT_EQ(u8(wordQueryText(q, kModeAnd, kTypeBasic)), "믿음&소망&~");
    EXPECT_EQ(u8(wordQueryText(q, kModeOr, kTypeBasic)), "믿음#소망#~");
    EXPECT_EQ(u8(wordQueryText(q, kModeOr, kTypeAllForms)), "믿음*#소망*#~");
    EXPECT_EQ(u8(wordQueryText(q, kModePhrase, kTypeBasic)), "\"믿음 소망\"&~");
    EXPECT_EQ(u8(wordQueryText(q, kModePhrase, kTypeAllForms)), "\"믿음 소망\"&~");
    EXPECT_EQ(wordQueryText("love", kModeAnd, kTypeBasic), "love&~");
    EXPECT_EQ(wordHighlightText("\"in the\",x"), " in the  x");
}

TEST(SearchForms, WordReferencesAndCentredText) {
    const auto reference = [](const std::string& text) {
        const WordReference r = splitWordReference(text);
        return u8(r.book) + " " + r.chapter + ":" + r.verse;
    };
    EXPECT_EQ(reference("KJVjhnJn 3:16"), "Jn 3:16");
    EXPECT_EQ(reference("KJVpsaPs 001"), "Ps 1:0");
    EXPECT_EQ(reference(cp("VRA1jn요한1서 1:7")), "요한1서 1:7");

    const std::string verse = "For God so loved the world that he gave his only begotten Son";
    // Phrase: three words before it.
    EXPECT_EQ(centredWordText(verse, "he gave", kModePhrase, 0, true),
              "the world that he gave his only begotten Son");
    EXPECT_EQ(centredWordText(verse, "no such", kModePhrase, 0, true), verse);
    // Words: two words before the first one found.
    EXPECT_EQ(centredWordText(verse, "gave world", kModeAnd, kTypeAllForms, true),
              "loved the world that he gave his only begotten Son");
    // "기본" counts only an occurrence followed by a blank: "Son" ends the text.
    EXPECT_EQ(centredWordText(verse, "Son", kModeOr, kTypeBasic, true), verse);
    EXPECT_EQ(centredWordText(verse, "Son", kModeOr, kTypeAllForms, true), "only begotten Son");
    EXPECT_EQ(centredWordText(verse, "For", kModeAnd, kTypeBasic, true), verse);
    EXPECT_EQ(centredWordText(verse, "gave", kModeAnd, kTypeBasic, false), verse);
}

TEST(SearchForms, CopiedLinesCarryTheirCitations) {
    EXPECT_EQ(u8(verseResultCopyLine(cp("3|5||하나님께서 세상을"), cp("요"), "3", "16")),
              "하나님께서 세상을 (역본 가 요한복음 3:16)\r\n");
    EXPECT_EQ(u8(verseResultCopyLine(cp("1||말씀"), cp("요일"), "1", "1")),
              "말씀 (역본 가 요한1서 1:1)\r\n");
    // An unknown abbreviation is copied as it is.
    EXPECT_EQ(verseResultCopyLine("1||x", "Zz", "1", "2"), utf8ToCp949("x (역본 가 Zz 1:2)\r\n"));
    EXPECT_EQ(wordResultCopyLine(4, "Jn", "3", "16", "For God"), "For God (KJV Jn 3:16)\r\n");
    EXPECT_EQ(wordResultCopyLine(6, "Ps", "23", "0", "A psalm"), "A psalm (TEV Ps 23)\r\n");
    EXPECT_EQ(u8(wordResultCopyLine(1, cp("창"), "1", "1", cp("처음에"))),
              "처음에 (역본 나 창 1:1)\r\n");
}

TEST(SearchForms, CommandKeysOfResults) {
    EXPECT_EQ(verseResultCommandKey(cp("요"), "3", "16"), "BVRAjhn003016");
    EXPECT_EQ(verseResultCommandKey(cp("요일"), "1", "7"), "BVRA1jn001007");
    EXPECT_EQ(verseResultCommandKey(cp("권"), cp("장"), cp("절")), "");
    EXPECT_EQ(wordResultCommandKey("KJV", "Jn", "3", "16"), "BKJVjhn003016");
    EXPECT_EQ(wordResultCommandKey("KJV", "Ps", "119", "105"), "BKJVpsa119105");
    EXPECT_EQ(wordResultCommandKey("KJV", cp("요"), "3", "16"), "");
}

TEST(SearchForms, OperatorsTypedInTheQueryNameTheMode) {
    const struct {
        const char* typed;
        int chosen;
        const char* text;
        int mode;
    } rows[] = {
        {"faith AND hope", kModePhrase, "faith hope", kModeAnd},
        {"faith OR hope OR charity", kModeAnd, "faith hope charity", kModeOr},
        {"믿음 그리고 소망", kModeOr, "믿음 소망", kModeAnd},
        {"믿음 또는 소망", kModeAnd, "믿음 소망", kModeOr},
        // A word, not an operator; both kinds; nothing but an operator.
        {"faith and hope", kModePhrase, "faith and hope", kModePhrase},
        {"faith AND hope OR love", kModeAnd, "faith AND hope OR love", kModeAnd},
        {"OR", kModePhrase, "OR", kModePhrase},
        {"ANDROID", kModeOr, "ANDROID", kModeOr},
    };
    for (const auto& row : rows) {
        const TypedQuery q = typedQueryMode(cp(row.typed), row.chosen);
        EXPECT_EQ(u8(q.text), row.text) << row.typed;
        EXPECT_EQ(q.mode, row.mode) << row.typed;
    }
}
