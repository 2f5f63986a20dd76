#include "bible/citation.h"

#include "../support/cp949.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(Citation, VerseAndSelectionForms) {
    EXPECT_EQ(verseCitation(cp("맨 처음에"), "VRA", cp("창세기"), "1", "1"),
              cp("맨 처음에(역본 가 창 1:1)"));
    EXPECT_EQ(verseCitation("In the beginning", "KJV", "Genesis", "1", "1"),
              "In the beginning(KJV Gn 1:1)");
    EXPECT_EQ(verseCitation(cp("빛"), "VRC", cp("창세기"), "1", "3-5"), cp("빛(역본 다 창 1:3-5)"));
    // The parallel window names its book as VRA does, in every version.
    EXPECT_EQ(parallelVerseCitation("In the beginning", "KJV", cp("창세기"), "1", "1"),
              "In the beginning(KJV Gn 1:1)");
    EXPECT_EQ(parallelVerseCitation("For God", "TEV", cp("요한복음"), "3", "16"),
              "For God(TEV Jn 3:16)");
    EXPECT_EQ(parallelVerseCitation(cp("처음에"), "VRB", cp("창세기"), "1", "1"),
              cp("처음에(역본 나 창 1:1)"));
    EXPECT_EQ(selectionCitation("VRA", cp("요한복음"), "3"), cp("\r\n(역본 가 요 3장)"));
    EXPECT_EQ(selectionCitation("KJV", "1 Samuel", "2"), "\r\n(KJV 1 S Chapter 2)");
    EXPECT_EQ(placeText("VRA", cp("요한복음"), "3", "16", true),
              cp("역본 가 : 요한복음 3 장 16 절"));
    EXPECT_EQ(placeText("VRA", cp("요한복음"), "3", "16", false), cp("역본 가 : 요한복음 3 장 "));
}
