#include "platform/hangulinitials.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

using namespace qel::korean;

namespace {

std::u32string u(const char* utf8) {
    return qel::utf8ToUtf32(utf8);
}

struct Case {
    const char* text;
    const char* pattern;
    bool whole, start, inside;
};

// Each pattern against a word or title: as a whole, at its start, anywhere in it.
const Case kCases[] = {
    {"하나님", "ㅎㄴㄴ", true, true, true},
    {"하나님께서", "ㅎㄴㄴ", false, true, true},
    {"요한복음", "ㅇㅎㅂㅇ", true, true, true},
    {"요한일서", "ㅇㅎㅂㅇ", false, false, false},
    {"요한계시록", "ㄱㅅㄹ", false, false, true},
    // Tense consonants are letters of their own: ㄲ is not ㄱ.
    {"까마귀", "ㄱㅁㄱ", false, false, false},
    {"까마귀", "ㄲㅁㄱ", true, true, true},
    // Syllables and letters mix; a syllable stands for itself.
    {"하나님", "하ㄴㄴ", true, true, true},
    {"하나님", "허ㄴㄴ", false, false, false},
    // Blanks match blanks only.
    {"산상 수훈", "ㅅㅅ ㅅㅎ", true, true, true},
    {"산상수훈", "ㅅ ㅅㅎ", false, false, false},
    // The final consonant of a syllable is not its initial.
    {"믿음", "ㅁㅇ", true, true, true},
    {"믿음", "ㄷㅁ", false, false, false},
    {"하나", "ㅎㄴㄴ", false, false, false},
};

TEST(HangulInitials, MatchesWholeStartAndInside) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.pattern);
        EXPECT_EQ(matchesInitials(u(c.text), u(c.pattern)), c.whole);
        EXPECT_EQ(startsWithInitials(u(c.text), u(c.pattern)), c.start);
        EXPECT_EQ(containsInitials(u(c.text), u(c.pattern)), c.inside);
    }
}

TEST(HangulInitials, TellsInitialLettersFromOtherText) {
    EXPECT_TRUE(isInitialsOnly(u("ㅎㄴㄴ")));
    EXPECT_TRUE(isInitialsOnly(u("ㄲㅆㅉ")));
    EXPECT_FALSE(isInitialsOnly(u("하ㄴㄴ")));
    EXPECT_FALSE(isInitialsOnly(u("")));
    // Clusters that only close a syllable begin none.
    EXPECT_FALSE(isInitialsOnly(u("ㄳㄴ")));
    EXPECT_FALSE(isInitialsOnly(u("ㅏㄴ")));
    EXPECT_TRUE(hasInitialLetter(u("요ㅎ")));
    EXPECT_FALSE(hasInitialLetter(u("요한")));
    EXPECT_EQ(initialsOf(u("빛과 ㅎ 2")), u("ㅂㄱ ㅎ 2"));
}

} // namespace
