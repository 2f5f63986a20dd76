#include "language/koreanjamo.h"
#include "language/koreanlexicon.h"
#include "language/koreanmorphology.h"
#include "platform/codec.h"
#include "versesearch/verseindex.h"
#include "versesearch/verseindexbuilder.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <span>
#include <string>
#include <vector>

using namespace qel::korean;

namespace {

std::u32string u(const char* utf8) {
    return qel::utf8ToUtf32(utf8);
}

bool hasReading(const char* word, const char* stem, WordClass cls) {
    for (const Analysis& a : analyse(u(word)))
        if (a.stem == u(stem) && a.wordClass == cls)
            return true;
    return false;
}

// Words as they stand in the VRA text, with the stem of one reading.
struct Expected {
    WordClass cls;
    const char* stem;
    std::vector<const char*> words;
};

constexpr WordClass N = WordClass::Noun;
constexpr WordClass V = WordClass::Predicate;

// Words of real verses: particles, the copula, honorific and humble endings, the old
// sentence endings, vowel contractions and the irregular verbs.
const Expected kReadings[] = {
    // 창 1:1 하나님께서, 창 1:2 하나님의 영께서는, 요 1:1 말씀은 바로 하나님이시니라
    {N, "하나님", {"하나님께서", "하나님의", "하나님이시니라"}},
    {N, "율법", {"율법을", "율법에서", "율법만은"}}, // 시 119 주의 율법을 지키고
    {N, "너희", {"너희에게"}},
    {N, "여호와", {"여호와여"}},
    {N, "목자", {"목자시니"}},         // 시 23:1 목자시니 (이 left out after a vowel)
    {N, "그리스도", {"그리스도라면"}}, // 네가 그리스도라면
    {N, "산", {"산들을"}},
    // The irregular verbs; 묻다 "bury" and 씻다 are regular.
    {V, "짓", {"지으시니라", "지어", "지을", "짓는"}},
    {V, "만들", {"만드사"}}, // ㄹ dropped before ㅅ
    {V, "일컫", {"일컬으시니"}},
    {V, "깨닫", {"깨달아"}},
    {V, "묻", {"물으니", "묻으니"}},
    {V, "낫", {"나으니"}},
    {V, "씻", {"씻어"}},
    {V, "눕", {"누워"}},
    {V, "흐르", {"흘러"}},
    {V, "이르2", {"이르러"}}, // 러 irregular: 이르다 "reach", the second sense
    {V, "그렇", {"그런즉"}},
    {V, "푸", {"퍼"}}, // only 푸다 drops its 우 before 어
    // The humble 옵 and 사오 (after the past and the future, 시 119), -듯, 해서든지, -는지를,
    // -되, -자마자, -다면.
    {V, "하", {"하였노라", "하옵나니", "하심이라", "하였사오니", "해서든지", "하지를"}},
    {V, "주", {"주옵소서", "주리라"}},
    {V, "있", {"있사오니", "있다면"}}, // 빌 4:8 기릴 만한 것이 있다면
    {V, "지키", {"지키겠사오니", "지켰사오니"}},
    {V, "말하", {"말하였사오나"}},
    {V, "말씀하", {"말씀하시자마자"}}, // 요 18:6
    {V, "보", {"보듯"}},
    {V, "듣", {"들었는지를", "들어", "들은", "듣되", "들으되"}}, // 요 3:8 그 소리를 듣되
    {V, "좋", {"좋았더라"}},
    {V, "되", {"되니라"}},
    {V, "사랑하", {"사랑하사"}},
    {V, "원하", {"원하나이다"}},
    {V, "행하", {"행하리이다"}},
    {V, "나아오", {"나아오거늘"}},
    {V, "앉", {"앉으시매"}},
    {V, "데려가", {"데려가시는도다"}},
    {V, "계시", {"계시더라"}},
    {V, "주리", {"주리고"}},
    {V, "말", {"말라"}},
    {V, "나가", {"나가"}},
    // Ambiguous words give every reading: 들어 is also 듣다's, 나는 also 나's.
    {V, "들", {"들어"}},
    {V, "지", {"지어"}},
    {V, "날", {"나는"}},
    {V, "내", {"내게"}},
    // 나 and 너 fused with their particles.
    {N, "나", {"나는", "나도", "나에게", "내가", "내게", "내게서", "내게로", "내게는", "내"}},
    {N, "너", {"네가", "네게"}},
};

// Readings a word must not have: each would let a search take in another word.
const Expected kNotReadings[] = {
    {N, "말", {"말라"}}, // 말다 + 라: a noun in ㄹ takes 이라
    {N, "하나님께", {"하나님께서"}},
    {V, "하", {"하늘"}},         // 느 only before endings in ㄴ: no 하 + 느 + ㄹ
    {V, "새", {"새와"}},         // the humble 오 takes no 아/어
    {V, "주", {"주리고", "저"}}, // 리 takes no 고; only 푸다 drops its 우 before 어
    // Only a closed set of ㄷ stems turns it into ㄹ: 밀은 (wheat), 발은.
    {V, "믿", {"밀은"}},
    {V, "받", {"발은"}},
    {V, "짓", {"짓을"}},   // 나쁜 짓을: 짓다 drops its ㅅ before every vowel
    {V, "씻", {"씨어"}},   // 씻다 never drops it
    {V, "살", {"산들을"}}, // no 를 after ㄴ들
    // 나 + 가 is written 내가; 네 alone is mostly four; 내니라 is 내다 (토해 내니라).
    {N, "나", {"나가", "내니라"}},
    {N, "너", {"너가", "네"}},
};

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
        dic << qel::utf32ToUtf8(toJamo(u(entry))) << "\n";
}

} // namespace

TEST(KoreanMorphology, ReadsTheStemsOfRealVerseWordsAndNoOthers) {
    for (const bool reading : {true, false})
        for (const Expected& e : reading ? std::span<const Expected>(kReadings) : kNotReadings)
            for (const char* word : e.words)
                EXPECT_EQ(hasReading(word, e.stem, e.cls), reading) << word << " -> " << e.stem;
}

TEST(KoreanMorphology, ParticleTailsAndTheEndingsOfAReading) {
    EXPECT_TRUE(isParticleTail(u("하나님"), u("께서는")));
    EXPECT_TRUE(isParticleTail(u("율법"), u("이니라")));
    EXPECT_TRUE(isParticleTail(u("목자"), u("시니")));
    EXPECT_TRUE(isParticleTail(u("말씀"), u("")));
    EXPECT_FALSE(isParticleTail(u("율법"), u("를")));
    EXPECT_FALSE(isParticleTail(u("사랑"), u("하사")));
    // 말하였사오나 ends in 나, not in 느 + ㄴ; 내게서 is 나 + 에게서.
    for (const Analysis& a : analyse(u("말하였사오나")))
        if (a.wordClass == V && a.stem == u("말하")) {
            EXPECT_EQ(a.parts, u("말하+었+사오+나"));
        }
    for (const Analysis& a : analyse(u("내게서")))
        if (a.stem == u("나")) {
            EXPECT_EQ(a.parts, u("나+에게서"));
        }
}

TEST(KoreanMorphology, EveryReadingRebuildsTheWord) {
    // Each parse is checked by building the word again, so no reading may claim an ending
    // the word does not have.
    for (const Analysis& a : analyse(u("하셨으니"))) {
        if (a.wordClass == V && a.stem == u("하")) {
            EXPECT_NE(a.parts.find(U"었"), std::u32string::npos);
        }
    }
    EXPECT_EQ(analyse(u("")).size(), 0u);
    ASSERT_EQ(analyse(u("KJV")).size(), 1u); // not Hangul: the word itself
}

TEST(KoreanMorphology, DerivationRootsAndFunctionWords) {
    EXPECT_EQ(derivationRoot(u("사랑하")), u("사랑"));
    EXPECT_EQ(derivationRoot(u("복되")), u("복"));
    EXPECT_EQ(derivationRoot(u("축복받")), u("축복"));
    EXPECT_EQ(derivationRoot(u("회개시키")), u("회개"));
    // Only 하다, 되다, 받다, 시키다 derive: 의롭 and 아름답 are words of their own.
    EXPECT_EQ(derivationRoot(u("의롭")), u(""));
    EXPECT_EQ(derivationRoot(u("하")), u(""));
    EXPECT_TRUE(isFunctionWord(u("그")));
    EXPECT_FALSE(isFunctionWord(u("하나님")));
}

TEST(KoreanJamo, DecomposesAndComposesSyllables) {
    EXPECT_EQ(fromJamo(toJamo(u("맨 처음에 하나님께서"))), u("맨 처음에 하나님께서"));
    EXPECT_EQ(toJamo(u("간")).size(), 3u);
    EXPECT_EQ(fromJamo(toJamo(u("가")) + toJamo(u("ㄴ"))), u("간"));
    EXPECT_EQ(normaliseWord(u("“사랑이,”")), u("사랑이"));
    EXPECT_EQ(normaliseWord(u("KJV:")), u("kjv"));
}

// 이르다 "say" (일러) and 이르다 "reach" (이르러): the forms of 어/아 tell them apart, a quoting
// ending makes "say", any other form may be either.
TEST(KoreanMorphology, SayAndReachAreTwoSensesOfOneStem) {
    for (const char* reach : {"이르러", "이르렀고", "이르렀으니"}) {
        EXPECT_TRUE(hasReading(reach, "이르2", V)) << reach;
        EXPECT_FALSE(hasReading(reach, "이르", V)) << reach;
    }
    for (const char* say : {"일러", "일렀노라", "이르되", "이르시되", "이르기를", "이르노니"}) {
        EXPECT_TRUE(hasReading(say, "이르", V)) << say;
        EXPECT_FALSE(hasReading(say, "이르2", V)) << say;
    }
    for (const char* either : {"이르매", "이르는", "이른", "이르기까지", "이르게"})
        EXPECT_TRUE(hasReading(either, "이르", V) && hasReading(either, "이르2", V)) << either;
    EXPECT_EQ(lemmaOf({u("이르2"), V, u("이르+러")}), u("이르다2"));
    EXPECT_EQ(lemmaOf({u("이르"), V, u("이르+되")}), u("이르다"));
}

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
