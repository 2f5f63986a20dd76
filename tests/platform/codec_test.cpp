#include "platform/codec.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(Codec, KoreanRoundTripsThroughCp949) {
    const std::string utf8 = "태양 {B} ABC 123 똠방각하";
    const std::string cp949 = utf8ToCp949(utf8);
    EXPECT_EQ(cp949.substr(0, 2), "\xC5\xC2"); // 태
    EXPECT_EQ(cp949ToUtf8(cp949), utf8);
}

TEST(Codec, BrokenInputBecomesQuestionMarksWithoutLosingTheRest) {
    EXPECT_EQ(cp949ToUtf8("ab\xC5"), "ab?"); // lone lead byte at the end
    EXPECT_EQ(cp949ToUtf8("\xFF"
                          "ab"),
              "?ab");                                    // never a lead byte
    EXPECT_EQ(utf8ToCp949("a\xE2\x82"), "a?");           // truncated UTF-8
    EXPECT_EQ(utf8ToCp949("x\xF0\x9F\x98\x80y"), "x?y"); // emoji has no CP949 form
}

TEST(Codec, Utf32RoundTripsAndMalformedUtf8) {
    EXPECT_EQ(utf8ToUtf32("성전 聖殿 a\xF0\x9F\x98\x80"), U"성전 聖殿 a\U0001F600");
    EXPECT_EQ(utf32ToUtf8(U"성전 聖殿 a\U0001F600"), "성전 聖殿 a\xF0\x9F\x98\x80");
    // A stray continuation byte; a sequence cut short, inside and at the end; no such lead.
    EXPECT_EQ(utf8ToUtf32(std::string("a\x80") + "b"), U"a\uFFFDb");
    EXPECT_EQ(utf8ToUtf32(std::string("\xEC\x84") + "b"), U"\uFFFDb");
    EXPECT_EQ(utf8ToUtf32("\xEC\x84"), U"\uFFFD");
    EXPECT_EQ(utf8ToUtf32("\xF8\x88"), U"\uFFFD\uFFFD");
}

TEST(Codec, Cp949CharacterBoundaries) {
    const std::string text = utf8ToCp949("가a나");
    EXPECT_EQ(characterLength(text, 0), 2u);
    EXPECT_EQ(characterLength(text, 2), 1u);
    EXPECT_EQ(characterLength("a\xB0", 1), 1u); // a lead byte at the end stands alone
    EXPECT_EQ(wholeCharacterPrefix(text, 5), 5u);
    EXPECT_EQ(wholeCharacterPrefix(text, 4), 3u); // never half of 나
    EXPECT_EQ(wholeCharacterPrefix(text, 1), 0u);
    EXPECT_EQ(wholeCharacterPrefix("ab\xB0", 10), 2u); // nor a lone lead byte
    EXPECT_EQ(wholeCharacterPrefix("ab\xFF", 10), 3u); // 0xFF is no lead byte
}
