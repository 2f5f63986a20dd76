#include "fakesurface.h"
#include "platform/codec.h"
#include "richtext/displaystyle.h"
#include "richtext/highlightmarks.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/richtextpainter.h"
#include "richtext/textlayoutengine.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace qel;

namespace {

// Records each fill, so that a drawn part can be matched with the box painted under it
// (the paint pass fills every part's box, then draws every part, in the same order).
class FillSurface : public FakeSurface {
public:
    using FakeSurface::FakeSurface;
    std::vector<std::uint32_t> fills;
    void fillRect(int, int, int, int, std::uint32_t color) override { fills.push_back(color); }
};

const std::string kKjv = "{S VAL=1}{/S}In the beginning God created the heaven and the earth. "
                         "{S VAL=2}{/S}And the earth was without form, and void.";

// As the chapter view has it: a heading, verse numbers and footnote marks, none of them
// counted among the verse's characters.
const std::string kKjvNumbered =
    "{S VAL=1}{/S}{H}CREATION.{/H}{D}1{/D}In the beginning God created the heaven and the "
    "earth.{N TEX=\"note\"}*{/N} {S VAL=2}{/S}{D}2{/D}And the earth was without form, and void.";

struct Painted {
    std::map<std::uint32_t, std::string> byBackground; // text drawn on each background
    std::map<int, std::string> byLine;                 // text drawn on each line
};

Painted layOutAndPaint(const std::string& markup, int width,
                       const std::vector<HighlightSpan>& spans, int fontSize = 11) {
    FillSurface surface(width, 2000);
    DisplayStyle style;
    style.fontSize = fontSize;
    if (fontSize != 11) {
        FontRequest larger = surface.font(0);
        larger.height = 15 * fontSize / 11;
        surface.selectFont(surface.createFont(larger));
    }
    TextLayoutEngine engine(style);
    MarkupNodeList list;
    MarkupParser::parse(&list, markup);
    engine.ReSize(surface, 10, &list, false);
    const std::vector<NodeMark> marks = markVerses(list, spans);
    PaintParameters parameters;
    parameters.settings = &style;
    parameters.fontSize = fontSize;
    parameters.bandBottom = 100000;
    parameters.marks = &marks;
    paintMarkup(surface, list, parameters);
    Painted painted;
    for (std::size_t i = 0; i < surface.drawn.size(); ++i) {
        painted.byBackground[surface.fills.at(i)] += surface.drawn[i].text;
        painted.byLine[surface.drawn[i].y] += surface.drawn[i].text;
    }
    return painted;
}

} // namespace

TEST(HighlightMarks, ExactlyTheSpannedCharactersArePaintedOnTheirColourAtAnyWidth) {
    const std::uint32_t* colours = lightHighlightColours();
    const std::vector<HighlightSpan> spans{{"1", 3, 20, 1}, {"2", 0, 3, 3}, {"2", 8, 13, 2}};
    // Wide: one line; narrow: the first span is broken over lines by the layout.
    for (int width : {2000, 150}) {
        const Painted painted = layOutAndPaint(kKjvNumbered, width, spans);
        EXPECT_EQ(painted.byBackground.at(colours[0]), "the beginning God") << width;
        EXPECT_EQ(painted.byBackground.at(colours[2]), "And") << width;
        EXPECT_EQ(painted.byBackground.at(colours[1]), "earth") << width;
        EXPECT_EQ(painted.byBackground.count(colours[3]), 0u);
    }
}

TEST(HighlightMarks, KoreanCharactersCountOnceAndLinesAreUnchanged) {
    const std::string markup = utf8ToCp949(
        "{S VAL=1}{/S}태초에 하나님이 하늘과 땅을 지으셨다. {S VAL=2}{/S}땅은 형태가 없고");
    const std::vector<HighlightSpan> spans{{"1", 4, 8, 4}, {"2", 0, 1 << 30, 5}};
    const Painted plain = layOutAndPaint(markup, 160, {});
    const Painted marked = layOutAndPaint(markup, 160, spans);
    EXPECT_EQ(cp949ToUtf8(marked.byBackground.at(lightHighlightColours()[3])), "하나님이");
    EXPECT_EQ(cp949ToUtf8(marked.byBackground.at(lightHighlightColours()[4])), "땅은 형태가 없고");
    EXPECT_GT(plain.byLine.size(), 2u);
    EXPECT_EQ(marked.byLine, plain.byLine);
    // A larger font breaks other lines and still marks the same characters.
    const Painted large = layOutAndPaint(markup, 160, spans, 20);
    EXPECT_NE(large.byLine, plain.byLine);
    EXPECT_EQ(cp949ToUtf8(large.byBackground.at(lightHighlightColours()[3])), "하나님이");
}

TEST(HighlightMarks, APositionInARunSplitByTheLayoutCountsFromItsVerse) {
    FakeSurface surface(150, 2000);
    TextLayoutEngine engine{DisplayStyle()};
    MarkupNodeList list;
    MarkupParser::parse(&list, kKjv);
    engine.ReSize(surface, 10, &list, false);
    // Every character of every run maps back to its verse and its place in it.
    std::map<std::string, std::string> rebuilt;
    for (const MarkupNode* n = list.head(); n; n = n->next())
        if (n->isText())
            for (std::size_t i = 0; i < n->text.size(); ++i) {
                const auto at = versePosition(n, static_cast<int>(i));
                ASSERT_TRUE(at);
                std::string& verse = rebuilt[at->verse];
                EXPECT_EQ(at->character, static_cast<int>(verse.size()));
                verse += n->text[i];
            }
    EXPECT_EQ(rebuilt["2"], "And the earth was without form, and void.");
    MarkupNodeList before;
    MarkupParser::parse(&before, "Psalm {S VAL=1}{/S}Blessed");
    EXPECT_FALSE(versePosition(before.head(), 2));
}

TEST(HighlightMarks, DarkPagesGetDarkColours) {
    EXPECT_EQ(highlightColoursFor(0xFFFFFF), lightHighlightColours());
    EXPECT_EQ(highlightColoursFor(0xFFFFE0), lightHighlightColours());
    EXPECT_EQ(highlightColoursFor(0x202020), darkHighlightColours());
    EXPECT_EQ(highlightColoursFor(0x000080), darkHighlightColours());
}
