#include "language/koreanjamo.h"
#include "language/koreanlexicon.h"
#include "platform/codec.h"
#include "versesearch/verseindex.h"
#include "versesearch/verseindexbuilder.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qel::korean;
using qel::utf32ToUtf8;
using qel::utf8ToUtf32;

namespace {

std::u32string u(const char* utf8) {
    return utf8ToUtf32(utf8);
}

// A word list in hunspell-ko's own shape: entries in conjoining jamo, flags through AF
// aliases (1: inside compounds only, 15: forbidden, 45: conjugation, 530 and up: particles,
// 540 alone: an adverb's few particles, none: a determiner).
void writeHunspell(const TempDir& dir) {
    std::ofstream(dir.str() + "/ko.aff") << "SET UTF-8\nFLAG num\nAF 5\n"
                                            "AF 2,3,530,532\n"
                                            "AF 30,45,46\n"
                                            "AF 540\n"
                                            "AF 1,17\n"
                                            "AF 15\n"
                                            "SFX 530 Y 1\n";
    std::ofstream dic(dir.str() + "/ko.dic");
    dic << "7\n";
    for (const char* entry :
         {"하늘/1", "살리다/2", "함께/3", "새", "가감해/4", "깨끗히/5", "하다/2"})
        dic << utf32ToUtf8(toJamo(u(entry))) << "\n";
}

} // namespace

TEST(KoreanLexicon, ReadsHunspellClassesFromItsFlags) {
    TempDir dir;
    writeHunspell(dir);
    Lexicon lexicon;
    ASSERT_TRUE(readHunspellLexicon(dir.str() + "/ko.dic", dir.str() + "/ko.aff", lexicon));
    EXPECT_EQ(lexicon.classesOf(u("하늘")), unsigned{kLexNoun});
    EXPECT_EQ(lexicon.classesOf(u("살리")), unsigned{kLexPredicate}); // kept without -다
    EXPECT_EQ(lexicon.classesOf(u("살리다")), 0u);
    EXPECT_EQ(lexicon.classesOf(u("함께")), unsigned{kLexModifier});
    EXPECT_EQ(lexicon.classesOf(u("새")), unsigned{kLexModifier});
    EXPECT_EQ(lexicon.classesOf(u("가감해")), 0u); // a piece of compounds only
    EXPECT_EQ(lexicon.classesOf(u("깨끗히")), 0u); // a forbidden spelling
    EXPECT_FALSE(readHunspellLexicon(dir.str() + "/none.dic", dir.str() + "/ko.aff", lexicon));
}

TEST(KoreanLexicon, OwnListAddsWordsFirstAndOrdersHomonyms) {
    TempDir dir;
    std::ofstream(dir.str() + "/bible.txt") << "# names\nN 여호와\nV 여짜오다  # old\nM 한\n"
                                               "H 성전 聖殿 聖典\nV 틀린\nX 모름\n";
    Lexicon lexicon;
    std::vector<HomonymOrder> order;
    ASSERT_TRUE(readOwnLexicon(dir.str() + "/bible.txt", lexicon, order));
    EXPECT_EQ(lexicon.classesOf(u("여호와")), kLexNoun | ownClass(kLexNoun));
    EXPECT_EQ(lexicon.classesOf(u("여짜오")), kLexPredicate | ownClass(kLexPredicate));
    EXPECT_EQ(lexicon.classesOf(u("한")), kLexModifier | ownClass(kLexModifier));
    EXPECT_EQ(lexicon.classesOf(u("틀린")), 0u); // a verb must be written with -다
    EXPECT_EQ(lexicon.size(), 3u);
    ASSERT_EQ(order.size(), 1u);
    EXPECT_EQ(order[0].hangul, u("성전"));
    EXPECT_EQ(order[0].hanja, (std::vector<std::u32string>{u("聖殿"), u("聖典")}));
}

TEST(KoreanLexicon, WithoutHunspellTheIndexIsBuiltUncheckedAndSaysSo) {
    TempDir dir;
    std::vector<std::string> messages;
    const qel::AnalysisSources sources = qel::readAnalysisSources(
        dir.str() + "/nohanja.txt", dir.str() + "/bible.txt",
        [&](const std::string& m) { messages.push_back(m); }, dir.str() + "/none.dic",
        dir.str() + "/none.aff");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("no hunspell-ko word list"), std::string::npos);
    EXPECT_TRUE(sources.lexicon.empty());
    // Every reading of the morphology stays, so the search still finds the verb.
    const qel::VerseIndex index(qel::buildVerseIndexData(
        {{"gen", "1", "1", qel::utf8ToCp949("하나님께서 하늘과 땅을 지으시니라")}}, sources));
    EXPECT_FALSE(
        index.stemMatches(WordClass::Predicate, u("짓"), qel::SearchType::Inflected).empty());
    EXPECT_FALSE(
        index.stemMatches(WordClass::Noun, u("하나님"), qel::SearchType::Inflected).empty());
}

TEST(KoreanLexicon, TheLexiconRejectsInventedStems) {
    TempDir dir;
    writeHunspell(dir);
    std::vector<std::string> messages;
    const qel::AnalysisSources sources = qel::readAnalysisSources(
        dir.str() + "/nohanja.txt", dir.str() + "/none.txt",
        [&](const std::string& m) { messages.push_back(m); }, dir.str() + "/ko.dic",
        dir.str() + "/ko.aff");
    ASSERT_FALSE(sources.lexicon.empty());
    const qel::VerseIndex index(qel::buildVerseIndexData(
        {{"gen", "1", "1", qel::utf8ToCp949("하늘을 보라 나를 살리소서")}}, sources));
    // 하늘 is a noun, not 하다 + 느 + ㄹ; 살리소서 is 살리다, not 살다 (which the list lacks).
    EXPECT_EQ(index.formCountOfStem(WordClass::Noun, u("하늘")), 1u);
    EXPECT_EQ(index.formCountOfStem(WordClass::Predicate, u("살리")), 1u);
    EXPECT_EQ(index.formCountOfStem(WordClass::Predicate, u("살")), 0u);
    EXPECT_EQ(index.formCountOfStem(WordClass::Predicate, u("하")), 0u);
    // 보라 is no word of this list: its noun readings stand in, as for a name.
    EXPECT_EQ(index.formCountOfStem(WordClass::Noun, u("보라")), 1u);
}
