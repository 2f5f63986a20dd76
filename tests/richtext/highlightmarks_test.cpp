#include "fakesurface.h"
#include "platform/codec.h"
#include "richtext/displaystyle.h"
#include "richtext/highlightmarks.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/printpass.h"
#include "richtext/richtextpainter.h"
#include "richtext/textlayoutengine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace qel;

namespace {

// Records each fill, so that a drawn part can be matched with the box painted under it
// (the paint pass fills every part's box, then draws every part, in the same order).
class FillSurface : public FakeSurface {
public:
    using FakeSurface::FakeSurface;
    struct Fill {
        int x, y, width, height;
        std::uint32_t color;
    };
    std::vector<Fill> boxes;
    void fillRect(int x, int y, int width, int height, std::uint32_t color) override {
        boxes.push_back({x, y, width, height, color});
    }

    // The characters drawn on each highlight colour, found by place alone: a character
    // counts when the middle of its box lies in a fill of that colour.
    std::map<std::uint32_t, std::string> underHighlights() {
        const std::uint32_t* colours = lightHighlightColours();
        std::map<std::uint32_t, std::string> under;
        for (const Drawn& d : drawn) {
            selectFont(d.font);
            int x = d.x;
            for (std::size_t i = 0; i < d.text.size();) {
                const std::size_t length = characterLength(d.text, i);
                const int width = textExtent(std::string_view(d.text).substr(i, length)).width;
                const int midX = x + width / 2, midY = d.y + 1;
                for (const Fill& f : boxes)
                    if (std::count(colours, colours + kHighlightColourCount, f.color) &&
                        midX >= f.x && midX < f.x + f.width && midY >= f.y && midY < f.y + f.height)
                        under[f.color] += d.text.substr(i, length);
                x += width;
                i += length;
            }
        }
        return under;
    }
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
    // Marked as the view marks: during the layout, by a marker that marked other spans
    // before, which must leave nothing behind. A walk of the laid-out list agrees.
    const std::vector<HighlightSpan> before{{"2", 0, kWholeVerseSpan, 1}};
    VerseMarker marker(before);
    marker.markList(list);
    marker.start(spans);
    engine.ReSize(surface, 10, &list, false, &marker);
    const std::vector<NodeMark> marks = marker.take();
    const std::vector<NodeMark> walked = markVerses(list, spans);
    EXPECT_EQ(marks.size(), walked.size());
    for (std::size_t i = 0; i < std::min(marks.size(), walked.size()); ++i)
        EXPECT_TRUE(marks[i].node == walked[i].node && marks[i].byteStart == walked[i].byteStart &&
                    marks[i].byteEnd == walked[i].byteEnd && marks[i].colour == walked[i].colour)
            << i;
    PaintParameters parameters;
    parameters.settings = &style;
    parameters.fontSize = fontSize;
    parameters.bandBottom = 100000;
    parameters.marks = &marks;
    paintMarkup(surface, list, parameters);
    Painted painted;
    for (std::size_t i = 0; i < surface.drawn.size(); ++i) {
        painted.byBackground[surface.boxes.at(i).color] += surface.drawn[i].text;
        painted.byLine[surface.drawn[i].y] += surface.drawn[i].text;
    }
    return painted;
}

} // namespace

TEST(HighlightMarks, ExactlyTheSpannedCharactersArePaintedOnTheirColourAtAnyWidth) {
    const std::uint32_t* colours = lightHighlightColours();
    const std::vector<HighlightSpan> spans{
        {"1", 3, 20, 1}, {"2", 0, 3, 3}, {"2", 8, 13, 2}, {"2", 26, kWholeVerseSpan, 5}};
    // Wide: one line; narrow: the first span is broken over lines by the layout.
    for (int width : {2000, 150}) {
        const Painted painted = layOutAndPaint(kKjvNumbered, width, spans);
        EXPECT_EQ(painted.byBackground.at(colours[0]), "the beginning God") << width;
        EXPECT_EQ(painted.byBackground.at(colours[2]), "And") << width;
        EXPECT_EQ(painted.byBackground.at(colours[1]), "earth") << width;
        EXPECT_EQ(painted.byBackground.at(colours[4]), "form, and void.") << width;
        EXPECT_EQ(painted.byBackground.count(colours[3]), 0u);
    }
}

TEST(HighlightMarks, AWholeVerseStopsBeforeTheBlankThatEndsIt) {
    const std::uint32_t yellow = lightHighlightColours()[0];
    for (const std::string& markup : {kKjv, kKjvNumbered})
        for (int width : {2000, 150}) {
            const Painted painted = layOutAndPaint(markup, width, {{"1", 0, kWholeVerseSpan, 1}});
            const std::string& marked = painted.byBackground.at(yellow);
            EXPECT_EQ(marked.substr(marked.size() - 6), "earth.") << width << markup;
        }
}

TEST(HighlightMarks, KoreanCharactersCountOnceAndLinesAreUnchanged) {
    const std::string markup = utf8ToCp949(
        "{S VAL=1}{/S}맨 처음에 하나님께서 하늘과 땅을 지으셨다. {S VAL=2}{/S}땅은 형태가 없고");
    const std::vector<HighlightSpan> spans{{"1", 6, 11, 4}, {"2", 0, 1 << 30, 5}};
    const Painted plain = layOutAndPaint(markup, 160, {});
    const Painted marked = layOutAndPaint(markup, 160, spans);
    EXPECT_EQ(cp949ToUtf8(marked.byBackground.at(lightHighlightColours()[3])), "하나님께서");
    EXPECT_EQ(cp949ToUtf8(marked.byBackground.at(lightHighlightColours()[4])), "땅은 형태가 없고");
    EXPECT_GT(plain.byLine.size(), 2u);
    EXPECT_EQ(marked.byLine, plain.byLine);
    // A larger font breaks other lines and still marks the same characters.
    const Painted large = layOutAndPaint(markup, 160, spans, 20);
    EXPECT_NE(large.byLine, plain.byLine);
    EXPECT_EQ(cp949ToUtf8(large.byBackground.at(lightHighlightColours()[3])), "하나님께서");
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

TEST(HighlightMarks, PrintColoursTheSameCharactersAsTheScreenAndKeepsItsLines) {
    const std::string markup =
        kKjvNumbered +
        utf8ToCp949(" {S VAL=3}{/S}{D}3{/D}맨 처음에 하나님께서 하늘과 땅을 지으셨다.");
    const std::vector<HighlightSpan> spans{{"1", 3, 20, 1}, {"3", 6, 11, 4}};
    const std::uint32_t* colours = lightHighlightColours();

    // What the screen paints for these spans (ExactlyTheSpannedCharacters…).
    const std::map<std::uint32_t, std::string> onScreen{{colours[0], "the beginning God"},
                                                        {colours[3], utf8ToCp949("하나님께서")}};

    // A page 152 pixels wide breaks the English span over two lines.
    std::vector<NodeMark> marks;
    auto print = [&](const std::vector<NodeMark>* printed) {
        auto page = std::make_unique<FillSurface>(340, 2000);
        MarkupNodeList fresh;
        MarkupParser::parse(&fresh, markup);
        marks = markVerses(fresh, spans);
        printMarkup(*page, fresh, DisplayStyle(), false, nullptr, nullptr,
                    printed ? &marks : nullptr);
        return page;
    };
    const auto plain = print(nullptr);
    const auto marked = print(&marks);
    EXPECT_EQ(marked->underHighlights(), onScreen);
    std::set<int> lines;
    for (const auto& box : marked->boxes)
        if (box.color == colours[0])
            lines.insert(box.y);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(marked->drawn, plain->drawn);
}
