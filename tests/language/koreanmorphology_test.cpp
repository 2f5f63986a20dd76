#include "language/koreanjamo.h"
#include "language/koreanmorphology.h"
#include "platform/codec.h"

#include <gtest/gtest.h>

#include <string>

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

struct Expected {
    const char* word; // as it stands in the VRA text
    const char* stem;
    WordClass cls;
};

constexpr WordClass N = WordClass::Noun;
constexpr WordClass V = WordClass::Predicate;

// Words of real verses: particles, the copula, honorific and humble endings, the old
// sentence endings, vowel contractions and the irregular verbs.
const Expected kReadings[] = {
    {"하나님께서", "하나님", N}, // 창 1:1 맨 처음에 하나님께서 하늘과 땅을 지으시니라
    {"하나님의", "하나님", N},       // 창 1:2 하나님의 영께서는
    {"하나님이시니라", "하나님", N}, // 요 1:1 말씀은 바로 하나님이시니라
    {"율법을", "율법", N},           // 시 119 주의 율법을 지키고
    {"율법에서", "율법", N},
    {"율법만은", "율법", N},
    {"너희에게", "너희", N},
    {"여호와여", "여호와", N},
    {"목자시니", "목자", N},   // 시 23:1 목자시니 (이 left out after a vowel)
    {"지으시니라", "짓", V},   // ㅅ irregular
    {"만드사", "만들", V},     // ㄹ dropped before ㅅ
    {"일컬으시니", "일컫", V}, // ㄷ irregular
    {"누워", "눕", V},         // ㅂ irregular
    {"흘러", "흐르", V},       // 르 irregular
    {"이르러", "이르2", V},    // 러 irregular: 이르다 "reach", the second sense
    {"하였노라", "하", V},
    {"좋았더라", "좋", V},
    {"되니라", "되", V},
    {"사랑하사", "사랑하", V},
    {"주옵소서", "주", V}, // humble 옵
    {"하옵나니", "하", V},
    {"있사오니", "있", V},
    {"원하나이다", "원하", V},
    {"행하리이다", "행하", V},
    {"나아오거늘", "나아오", V},
    {"앉으시매", "앉", V},
    {"데려가시는도다", "데려가", V},
    {"하심이라", "하", V},
    {"계시더라", "계시", V},
    {"그런즉", "그렇", V}, // ㅎ irregular
    // The humble 사오 after the past and the future (시 119), -듯, 해서든지, -는지를.
    {"하였사오니", "하", V},
    {"지키겠사오니", "지키", V},
    {"말하였사오나", "말하", V},
    {"지켰사오니", "지키", V},
    {"보듯", "보", V},
    {"해서든지", "하", V},
    {"들었는지를", "듣", V},
    // Ambiguous words give every reading.
    {"들어", "듣", V},
    {"들어", "들", V},
    {"지어", "짓", V},
    {"지어", "지", V},
    {"나는", "나", N},
    {"나는", "날", V},
};

} // namespace

TEST(KoreanMorphology, ReadsTheStemsOfRealVerseWords) {
    for (const Expected& e : kReadings)
        EXPECT_TRUE(hasReading(e.word, e.stem, e.cls)) << e.word << " -> " << e.stem;
}

TEST(KoreanMorphology, ParticleFormsFollowTheLastSound) {
    // 말라 is 말다 + 라: a noun in ㄹ takes 이라, so 말 + 라 is no reading.
    EXPECT_FALSE(hasReading("말라", "말", N));
    EXPECT_TRUE(hasReading("말라", "말", V));
    EXPECT_FALSE(hasReading("하나님께서", "하나님께", N));
    EXPECT_TRUE(isParticleTail(u("하나님"), u("께서는")));
    EXPECT_TRUE(isParticleTail(u("율법"), u("이니라")));
    EXPECT_TRUE(isParticleTail(u("목자"), u("시니")));
    EXPECT_TRUE(isParticleTail(u("말씀"), u("")));
    EXPECT_FALSE(isParticleTail(u("율법"), u("를")));
    EXPECT_FALSE(isParticleTail(u("사랑"), u("하사")));
}

TEST(KoreanMorphology, EndingsOnlyWhereTheyFollowEachOther) {
    // 느 only before endings in ㄴ: 하늘 is no 하 + 느 + ㄹ, 말하였사오나 ends in 나.
    EXPECT_FALSE(hasReading("하늘", "하", V));
    for (const Analysis& a : analyse(u("말하였사오나")))
        if (a.wordClass == V && a.stem == u("말하")) {
            EXPECT_EQ(a.parts, u("말하+었+사오+나"));
        }
    // The humble 오 takes no 아/어: 새와 is no 새 + 오 + 아.
    EXPECT_FALSE(hasReading("새와", "새", V));
    // 리 takes no 고: 주리고 is 주리다 alone.
    EXPECT_FALSE(hasReading("주리고", "주", V));
    EXPECT_TRUE(hasReading("주리고", "주리", V));
    EXPECT_TRUE(hasReading("주리라", "주", V));
    // Only 푸다 drops its 우 before 어: 저 is no form of 주다.
    EXPECT_FALSE(hasReading("저", "주", V));
    EXPECT_TRUE(hasReading("퍼", "푸", V));
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

TEST(KoreanMorphology, IrregularStemsChangeOnlyWhereTheVerbDoes) {
    // Only a closed set of ㄷ stems turns it into ㄹ: 밀은 (wheat) is no 믿다, 발은 no 받다.
    EXPECT_FALSE(hasReading("밀은", "믿", V));
    EXPECT_FALSE(hasReading("발은", "받", V));
    EXPECT_TRUE(hasReading("들은", "듣", V));
    EXPECT_TRUE(hasReading("깨달아", "깨닫", V));
    EXPECT_TRUE(hasReading("물으니", "묻", V));
    EXPECT_TRUE(hasReading("묻으니", "묻", V)); // 묻다 "bury" is regular
    // 짓다 drops its ㅅ before every vowel: 짓을 (나쁜 짓을) is the noun, not 짓 + 을.
    EXPECT_FALSE(hasReading("짓을", "짓", V));
    EXPECT_TRUE(hasReading("지을", "짓", V));
    EXPECT_TRUE(hasReading("짓는", "짓", V));
    EXPECT_TRUE(hasReading("나으니", "낫", V));
    // 씻다 keeps it, and never drops it.
    EXPECT_TRUE(hasReading("씻어", "씻", V));
    EXPECT_FALSE(hasReading("씨어", "씻", V));
}

TEST(KoreanMorphology, ObjectParticleOnlyAfterEndingsInJi) {
    // 는지를, 하지를; after ㄴ들 it would read 산들을 (mountains) as 살다.
    EXPECT_TRUE(hasReading("들었는지를", "듣", V));
    EXPECT_TRUE(hasReading("하지를", "하", V));
    EXPECT_FALSE(hasReading("산들을", "살", V));
    EXPECT_TRUE(hasReading("산들을", "산", N));
}

TEST(KoreanMorphology, PronounsNaAndNeoFuseWithTheirParticles) {
    // 나 + 가 is written 내가, so 나가 is 나가다 and never "I" + 가.
    EXPECT_FALSE(hasReading("나가", "나", N));
    EXPECT_TRUE(hasReading("나가", "나가", V));
    EXPECT_FALSE(hasReading("너가", "너", N));
    EXPECT_TRUE(hasReading("나도", "나", N));
    EXPECT_TRUE(hasReading("나에게", "나", N));
}

TEST(KoreanMorphology, MeltedPronounsReadAsNaAndNeo) {
    for (const char* word : {"내가", "내게", "내게서", "내게로", "내게는", "내"})
        EXPECT_TRUE(hasReading(word, "나", N)) << word;
    EXPECT_TRUE(hasReading("네가", "너", N));
    EXPECT_TRUE(hasReading("네게", "너", N));
    // 네 alone is mostly four; 내니라 is 내다 (토해 내니라), not "it is I".
    EXPECT_FALSE(hasReading("네", "너", N));
    EXPECT_FALSE(hasReading("내니라", "나", N));
    EXPECT_TRUE(hasReading("내게", "내", V));
    for (const Analysis& a : analyse(u("내게서")))
        if (a.stem == u("나")) {
            EXPECT_EQ(a.parts, u("나+에게서"));
        }
}

TEST(KoreanMorphology, ConditionalsAndTheEndingsOfTheNewText) {
    EXPECT_TRUE(hasReading("그리스도라면", "그리스도", N)); // 네가 그리스도라면
    EXPECT_TRUE(hasReading("있다면", "있", V)); // 빌 4:8 기릴 만한 것이 있다면
    EXPECT_TRUE(hasReading("말씀하시자마자", "말씀하", V)); // 요 18:6
    EXPECT_TRUE(hasReading("듣되", "듣", V));               // 요 3:8 그 소리를 듣되
    EXPECT_TRUE(hasReading("들으되", "듣", V));
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
