#include "fakesurface.h"
#include "platform/codec.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/printpass.h"
#include "richtext/textlayoutengine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qel;

namespace {

// A 96-dpi page of 800 × 600: margins 94 (25 mm) and 75 (20 mm), right limit 706, bottom
// limit 525; with a blank 15 high the first line is at 135 and the footer line at 555.
class Printout {
public:
    explicit Printout(DisplayStyle settings = DisplayStyle()) : engine(settings) {}

    int run(std::string_view markup, bool commentary = false) {
        MarkupParser::parse(&list, markup);
        return engine.Print(surface, &list, commentary, &title, &footer);
    }

    std::vector<FakeSurface::Drawn> body() const {
        std::vector<FakeSurface::Drawn> out;
        for (const auto& d : surface.drawn)
            if (d.text != title && d.text != footer)
                out.push_back(d);
        return out;
    }

    FakeSurface surface{800, 600};
    TextLayoutEngine engine;
    MarkupNodeList list;
    std::string title = "KJV Genesis 1";
    std::string footer = "QEL";
};

} // namespace

TEST(PrintPass, PageBreaksWithTitleAndFooterOnEveryPage) {
    Printout p;
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "{B}";
    const int pages = p.run(text);
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(p.surface.pages, 3);
    for (int page = 1; page <= 3; ++page) {
        int titles = 0, footers = 0;
        for (const auto& d : p.surface.drawn) {
            if (d.page != page)
                continue;
            if (d.text == p.title) {
                ++titles;
                EXPECT_EQ(d.x, 94);
                EXPECT_EQ(d.y, 75);
            } else if (d.text == p.footer) {
                ++footers;
                EXPECT_EQ(d.x, 706 - 24); // right-aligned at the right limit
                EXPECT_EQ(d.y, 555);
            } else {
                EXPECT_LT(d.y, 525);
                EXPECT_GE(d.y, 135);
            }
        }
        EXPECT_EQ(titles, 1) << "page " << page;
        EXPECT_EQ(footers, 1) << "page " << page;
    }
    // Seventeen lines fit between 135 and 525; the next page continues at the first line.
    const auto body = p.body();
    EXPECT_EQ(body[16].text, "line 16");
    EXPECT_EQ(body[16].y, 135 + 16 * 24);
    EXPECT_EQ(body[17].page, 2);
    EXPECT_EQ(body[17].y, 135);

    // Without title and footer only the text is printed.
    Printout bare;
    MarkupParser::parse(&bare.list, "x");
    EXPECT_EQ(bare.engine.Print(bare.surface, &bare.list, false, nullptr, nullptr), 1);
    EXPECT_EQ(bare.surface.drawn.size(), 1u);
    EXPECT_EQ(bare.engine.Print(bare.surface, nullptr, true, nullptr, nullptr), 0);
}

TEST(PrintPass, BreaksBetweenKoreanCharactersAndDropsOverwideWords) {
    // 612 px of line: 76 single bytes or 38 Korean characters.
    Printout p;
    std::string korean;
    for (int i = 0; i < 50; ++i)
        korean += utf8ToCp949("가");
    p.run(korean + "{B}" + std::string(100, 'w') + " end{B}next");
    const auto body = p.body();
    ASSERT_EQ(body.size(), 3u);
    EXPECT_EQ(body[0].text.size(), 76u); // no blank needed between Korean characters
    EXPECT_EQ(body[1].text.size(), 24u);
    EXPECT_EQ(body[1].y, 135 + 24);
    // The 100-letter word does not fit on a whole line: the rest of its run is left out.
    EXPECT_EQ(body[2].text, "next");
    EXPECT_EQ(body[2].y, 135 + 48);
}

TEST(PrintPass, JoinsRunsWithoutTouchingTheList) {
    Printout p;
    p.run("ab{x}cd {A TAR=x}link{/A}");
    EXPECT_EQ(p.list.size(), 5u); // nodes stay as parsed
    const auto body = p.body();
    ASSERT_EQ(body.size(), 2u);
    EXPECT_EQ(body[0].text, "ab}cd ");
    EXPECT_EQ(body[1].text, "link");
    EXPECT_EQ(body[1].x, 94 + 48);
    EXPECT_EQ(body[1].color, 0xFF0000u); // "Link"

    // An indent is eight printer pixels a unit.
    Printout indented;
    indented.run("{I VAL=6}indented{/I}flush");
    const auto lines = indented.body();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x, 94 + 48);
    EXPECT_EQ(lines[1].x, 94);
    EXPECT_EQ(lines[1].y, 135 + 24);
}

TEST(PrintPass, VerseNumbersColoursAndFonts) {
    DisplayStyle settings;
    Printout p(settings);
    p.run("{D}1{/D}In the {F COL=255000000}red{/F}");
    auto body = p.body();
    ASSERT_EQ(body.size(), 3u);
    EXPECT_EQ(body[0].text, "1 ");
    EXPECT_EQ(body[0].color, settings.colorTable[kColorVerseMark]);
    EXPECT_EQ(body[0].y, 135 + 11 / 5); // lowered by a fifth of its own height
    EXPECT_NE(body[0].font, 0);
    EXPECT_EQ(body[1].color, 0u);
    EXPECT_EQ(body[2].color, 0x0000FFu);
    EXPECT_EQ(p.surface.currentFont(), 0);

    settings.viewMode = 2;
    Printout hidden(settings);
    hidden.run("{D}1{/D}In");
    body = hidden.body();
    ASSERT_EQ(body.size(), 1u);
    EXPECT_EQ(body[0].text, "In");
    EXPECT_EQ(body[0].x, 94);

    Printout commentary;
    commentary.run("{D}1{/D}In", true);
    EXPECT_EQ(commentary.body().size(), 1u);
}

// The colours of tags inside a link, as the screen paints them too.
TEST(PrintPass, ColoursInsideALink) {
    DisplayStyle settings;
    const std::uint32_t link = settings.colorTable[kColorLink];
    for (const int different : {0, 1}) {
        settings.useDifferentColor = different;
        Printout p(settings);
        p.run("{A TAR=x}{W VAL=P}Nicodemus{/W} came{/A} to him");
        const auto body = p.body();
        ASSERT_EQ(body.size(), 3u);
        // Without different colours {/W} pops nothing: the rest of the link keeps its colour.
        EXPECT_EQ(body[0].color, different ? settings.colorTable[kColorPersonName] : link);
        EXPECT_EQ(body[1].color, link) << different;
        EXPECT_EQ(body[2].color, 0u) << different;
    }
    // A font without a colour is black inside a link, and the link's colour comes back.
    Printout bold;
    bold.run("{A TAR=x}link {F VAL=B}bold{/F} more{/A}");
    const auto body = bold.body();
    ASSERT_EQ(body.size(), 3u);
    EXPECT_EQ(body[0].color, link);
    EXPECT_EQ(body[1].color, 0u);
    EXPECT_EQ(body[2].color, link);
}

TEST(PrintPass, TablesAdvanceByRow) {
    Printout p;
    p.run("{T VAL=2}{R}{C}a{/C}{C}b{/C}{/R}{R}{C}c{/C}{C}d{/C}{/R}{/T}e");
    const auto body = p.body();
    ASSERT_EQ(body.size(), 5u);
    // Columns of (706 − 94) / 2 = 306.
    EXPECT_EQ(body[1].x, 306 + 94);
    EXPECT_EQ(body[1].y, 135);
    EXPECT_EQ(body[2].y, 135 + 24);
    EXPECT_EQ(body[4].y, 135 + 48);
    EXPECT_EQ(body[4].x, 94);
    // A "4)" ending a row is the row-end rule's, shared with the screen (TextLayout.Tables…).
}

namespace {

// The printed body by line: the pieces of each y, joined.
std::vector<std::string> printedLines(const Printout& p) {
    std::vector<std::string> out;
    int y = -1;
    for (const auto& d : p.body()) {
        if (d.y != y)
            out.emplace_back();
        y = d.y;
        out.back() += d.text;
    }
    return out;
}

} // namespace

TEST(PrintPass, AWordThatRunsOnIntoTheNextRunMovesWholeButKoreanBreaksAnywhere) {
    // 612 px of line: "x" × 73 leaves 28 px, three bytes and a half; "x" × 71, 44 px.
    const std::string start = std::string(72, 'x') + " ";
    const std::string longer = std::string(73, 'x') + " ";
    const std::string shorter = std::string(70, 'x') + " ";
    const std::string ga = utf8ToCp949("가");
    struct Row {
        const char* name;
        std::string markup;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"a run inside a word", start + "to t{F VAL=I}he{/F}e.", {start + "to ", "thee."}},
        {"the run fits, its word not", longer + "{F VAL=I}an{/F}d more", {longer, "and more"}},
        {"a word that fits stays", start + "a{F VAL=I}n{/F}d", {start + "and"}},
        {"tried once more on a fresh line",
         shorter + "{W VAL=P}Jerusalem{/W} and",
         {shorter, "Jerusalem and"}},
        // A Korean name at the edge is not moved whole: the first n − 1 bytes of "요한" fit
        // in 28 px, so the run is printed whole, and the ending follows on the next line.
        {"Korean",
         start + utf8ToCp949("{W VAL=P}요한{/W}에게 {W VAL=R}유대{/W}"),
         {start + utf8ToCp949("요한"), utf8ToCp949("에게 유대")}},
        {"English inside Korean", start + ga + "{F VAL=I}Je{/F}sus", {start + ga, "Jesus"}},
    };
    for (const Row& row : rows) {
        Printout p;
        p.run(row.markup);
        EXPECT_EQ(printedLines(p), row.lines) << row.name;
        EXPECT_EQ(p.body().back().y, 135 + 24 * int(row.lines.size() - 1)) << row.name;
    }
}

TEST(PrintPass, WrappedCellLinesStartAtTheirColumn) {
    Printout p;
    // Columns of 306, each cell breaking within (column + 1) × 306 − 20 from its pen. A
    // wrapped line in the second column starts at 306, without the margin that the first
    // column's lines get (94).
    std::string cell;
    for (int i = 0; i < 6; ++i)
        cell += "wwwww ";
    cell += "tail";
    p.run("{T VAL=2}{R}{C}" + cell + "{/C}{C}" + cell + "{/C}{/R}{/T}");
    const auto body = p.body();
    ASSERT_EQ(body.size(), 4u);
    EXPECT_EQ(body[0].text.size(), 24u);
    EXPECT_EQ(body[1].x, 94);
    EXPECT_EQ(body[1].y, 135 + 15); // a wrapped cell line advances by the run's height
    EXPECT_EQ(body[2].x, 306 + 94);
    EXPECT_EQ(body[3].x, 306);
}

TEST(PrintPass, TheVerseNumberKeepsToItsWordInItsOwnFont) {
    // From the pen at 94 + 528 = 622, the first word with "000", measured in the number's
    // font (5 px a byte), must end by 706 − 15: 13 bytes do (687), 14 do not (692).
    const std::string start = std::string(65, 'a') + " ";
    Printout keeps;
    keeps.run(start + "{D}7{/D}wordwordword rest");
    EXPECT_EQ(keeps.body()[1].y, 135 + 11 / 5); // lowered
    Printout breaks;
    breaks.run(start + "{D}7{/D}wordwordwordw rest");
    EXPECT_EQ(breaks.body()[1].y, 135 + 24 + 11 / 5);
}
