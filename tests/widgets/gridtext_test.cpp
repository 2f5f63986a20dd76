#include "platform/codec.h"
#include "widgets/gridtext.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(GridText, HitPositionListsWithEitherSeparator) {
    HitPositionCell c = splitHitPositions("7|12||in the beginning");
    EXPECT_EQ(c.positions, (std::vector<int>{7, 12}));
    EXPECT_EQ(c.text, "in the beginning");
    c = splitHitPositions("2|7#|x"); // either separator, even mixed
    EXPECT_EQ(c.positions, (std::vector<int>{2, 7}));
    EXPECT_EQ(c.text, "x");
    // Text that merely starts with a number has no list.
    for (const char* plain : {"3 and the", "12|x", "7|12", "", "||text"}) {
        c = splitHitPositions(plain);
        EXPECT_TRUE(c.positions.empty()) << plain;
        EXPECT_EQ(c.text, plain);
    }
}

TEST(GridText, CutsAtTheLimitButNeverInsideADoubleByteCharacter) {
    const std::string ga = utf8ToCp949("가");
    std::string even;
    for (int i = 0; i < 300; ++i)
        even += ga;
    std::string cut = cutCellText(even);
    EXPECT_EQ(cut.size(), 500u + 4);
    EXPECT_EQ(cut.substr(500), " ...");
    // One ASCII byte first: the 250th character would end at byte 501.
    cut = cutCellText("a" + even);
    EXPECT_EQ(cut.size(), 499u + 4);
    EXPECT_EQ(cut.substr(0, 499), ("a" + even).substr(0, 499));
    const std::string exact(500, 'x');
    EXPECT_EQ(cutCellText(exact), exact);
    EXPECT_EQ(cutCellText(exact + "y"), exact + " ...");
}

TEST(GridText, PositionSpansCountBlankSeparatedWords) {
    EXPECT_EQ(positionSpans("a bb ccc dddd", {2, 4}), (std::vector<TextSpan>{{2, 2}, {9, 4}}));
    EXPECT_EQ(positionSpans("a bb", {1, 9}), (std::vector<TextSpan>{{0, 1}}));
    const std::string korean = utf8ToCp949("맨 처음에 하나님이 하늘과 땅을");
    const auto spans = positionSpans(korean, {3});
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(cp949ToUtf8(korean.substr(spans[0].start, spans[0].length)), "하나님이");
}

TEST(GridText, WordSpansByModeAndType) {
    const std::string text = "love is loved and love ";
    HighlightWords words{"love", false, false};
    EXPECT_EQ(wordSpans(text, words), (std::vector<TextSpan>{{0, 4}, {8, 4}, {18, 4}}));
    words = {"is loved", true, false};
    EXPECT_EQ(wordSpans(text, words), (std::vector<TextSpan>{{5, 8}}));
    words = {"love loved", false, false}; // overlapping matches merge
    EXPECT_EQ(wordSpans(text, words), (std::vector<TextSpan>{{0, 4}, {8, 5}, {18, 4}}));
    // Bytes that straddle two double-byte characters are no match.
    const std::string gana = utf8ToCp949("가나");
    const std::string straddle = gana.substr(1, 2);
    EXPECT_TRUE(wordSpans(gana, {straddle, false, false}).empty());
    EXPECT_EQ(wordSpans(gana, {gana.substr(2), false, false}), (std::vector<TextSpan>{{2, 2}}));
}

TEST(GridText, HighlightsFindWordsNotPiecesOfWords) {
    const std::string text = "When he gathered them, the shepherd said: he.";
    const auto shown = [&](const HighlightWords& words) {
        std::vector<std::string> parts;
        for (const TextSpan& s : wordSpans(text, words))
            parts.push_back(text.substr(s.start, s.length));
        return parts;
    };
    HighlightWords words{"he", false, true}; // "기본"
    EXPECT_EQ(shown(words), (std::vector<std::string>{"he", "he"}));
    words = {"gather", false, false, true}; // "모두": from a word's beginning, the whole word
    EXPECT_EQ(shown(words), (std::vector<std::string>{"gathered"}));
    words = {"he", false, false, true};
    EXPECT_EQ(shown(words), (std::vector<std::string>{"he", "he"}));

    const std::string korean = utf8ToCp949("맨 처음에 하나님이 하늘과 땅을, 그 하나님께서");
    HighlightWords god{utf8ToCp949("하나님"), false, false, true};
    std::vector<std::string> found;
    for (const TextSpan& s : wordSpans(korean, god))
        found.push_back(cp949ToUtf8(korean.substr(s.start, s.length)));
    EXPECT_EQ(found, (std::vector<std::string>{"하나님이", "하나님께서"}));
    god.wordStarts = false;
    god.wholeWord = true;
    EXPECT_TRUE(wordSpans(korean, god).empty());
}
