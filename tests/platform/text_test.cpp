#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace qel {
namespace {

TEST(Text, AtoiSemantics) {
    EXPECT_EQ(atoiText("12"), 12);
    EXPECT_EQ(atoiText("3-5"), 3);
    EXPECT_EQ(atoiText("  7x"), 7);
    EXPECT_EQ(atoiText("+4"), 4);
    EXPECT_EQ(atoiText("-4"), -4);
    EXPECT_EQ(atoiText(""), 0);
    EXPECT_EQ(atoiText("abc"), 0);
    EXPECT_EQ(atoiText("- 4"), 0);
    EXPECT_EQ(atoiText("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(atoiText("-99999999999999999999999"), INT_MIN);
}

TEST(Text, TrimmedDropsBlanksTabsAndCarriageReturnsAtTheEndsOnly) {
    EXPECT_EQ(trimmed("  a b\t\r"), "a b");
    EXPECT_EQ(trimmed("\t\r "), "");
    EXPECT_EQ(trimmed(""), "");
    EXPECT_EQ(trimmed("x\ny"), "x\ny");
}

} // namespace
} // namespace qel
