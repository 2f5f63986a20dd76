#include "platform/codec.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(Codec, KoreanRoundTripsThroughCp949) {
    const std::string utf8 = "태초에 {B} ABC 123 똠방각하";
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
