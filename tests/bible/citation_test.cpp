#include "bible/citation.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {
std::string k(const char* utf8) {
    return utf8ToCp949(utf8);
}
} // namespace

TEST(Citation, VerseAndSelectionForms) {
    EXPECT_EQ(verseCitation(k("맨 처음에"), "VRA", k("창세기"), "1", "1"),
              k("맨 처음에(역본 가 창 1:1)"));
    EXPECT_EQ(verseCitation("In the beginning", "KJV", "Genesis", "1", "1"),
              "In the beginning(KJV Gn 1:1)");
    EXPECT_EQ(verseCitation(k("빛"), "VRC", k("창세기"), "1", "3-5"), k("빛(역본 다 창 1:3-5)"));
    // The parallel window names its book as VRA does, in every version.
    EXPECT_EQ(parallelVerseCitation("In the beginning", "KJV", k("창세기"), "1", "1"),
              "In the beginning(KJV Gn 1:1)");
    EXPECT_EQ(parallelVerseCitation("For God", "TEV", k("요한복음"), "3", "16"),
              "For God(TEV Jn 3:16)");
    EXPECT_EQ(parallelVerseCitation(k("처음에"), "VRB", k("창세기"), "1", "1"),
              k("처음에(역본 나 창 1:1)"));
    EXPECT_EQ(selectionCitation("VRA", k("요한복음"), "3"), k("\r\n(역본 가 요 3장)"));
    EXPECT_EQ(selectionCitation("KJV", "1 Samuel", "2"), "\r\n(KJV 1 S Chapter 2)");
    EXPECT_EQ(placeText("VRA", k("요한복음"), "3", "16", true), k("역본 가 : 요한복음 3 장 16 절"));
    EXPECT_EQ(placeText("VRA", k("요한복음"), "3", "16", false), k("역본 가 : 요한복음 3 장 "));
}
