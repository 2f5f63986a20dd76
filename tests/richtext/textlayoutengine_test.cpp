#include "fakesurface.h"
#include "platform/codec.h"
#include "platform/messagesink.h"
#include "richtext/layoutrules.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/textlayoutengine.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

using namespace qel;

namespace {

struct Piece {
    std::string text;
    int left;
    int top;
    int right;
    bool operator==(const Piece&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Piece& p) {
    return os << "{\"" << p.text << "\" " << p.left << "," << p.top << "-" << p.right << "}";
}

// Base font: blank 8 px wide, 15 px high; 160 % spacing gives lines 24 px apart.
class Layout {
public:
    explicit Layout(int clientWidth = 800, DisplayStyle settings = DisplayStyle())
        : surface(clientWidth), engine(settings) {
        engine.setMessageReporter([this](const std::string& text) { messages.push_back(text); });
    }

    int run(std::string_view markup, int leftMargin = 40, bool commentary = false) {
        list.clear();
        MarkupParser::parse(&list, markup);
        height = engine.ReSize(surface, leftMargin, &list, commentary);
        return height;
    }

    std::vector<Piece> pieces() const {
        std::vector<Piece> out;
        for (const MarkupNode* n = list.head(); n; n = n->next())
            if (n->isText())
                out.push_back({n->text, n->left, n->top, n->right});
        return out;
    }

    const MarkupNode* text(std::string_view t) const {
        for (const MarkupNode* n = list.head(); n; n = n->next())
            if (n->isText() && n->text == t)
                return n;
        return nullptr;
    }

    FakeSurface surface;
    TextLayoutEngine engine;
    MarkupNodeList list;
    std::vector<std::string> messages;
    int height = 0;
};

DisplayStyle withViewMode(int mode) {
    DisplayStyle s;
    s.viewMode = mode;
    return s;
}

} // namespace

TEST(TextLayout, HeightAdvanceAndEmptyLists) {
    Layout l;
    EXPECT_EQ(l.run(""), 10);
    EXPECT_EQ(l.engine.ReSize(l.surface, 40, nullptr, true), 10);

    // 160 percent of a base height of 15.
    EXPECT_EQ(l.run("a"), 10 + 24);
    EXPECT_EQ(l.list.head()->lineAdvance, 24);
    EXPECT_EQ(l.list.head()->bottom, 25);

    // Raised text is 12 high, yet its line advances by 160 percent of the base 15.
    l.run("{F VAL=H}x{/F}");
    EXPECT_EQ(l.text("x")->lineAdvance, 24);
    EXPECT_EQ(l.text("x")->bottom, 10 + 15);

    DisplayStyle spaced;
    spaced.lineSpacing = 200;
    Layout wide(800, spaced);
    EXPECT_EQ(wide.run("a"), 10 + 30);
}

TEST(TextLayout, RightLimitAndExactFit) {
    // Right limit: 800 − (10 × 8) / 4 = 780; from margin 20 there is room for 95 bytes.
    Layout l;
    const std::string fits(95, 'a');
    l.run(fits, 20);
    EXPECT_EQ(l.pieces(), (std::vector<Piece>{{fits, 20, 10, 780}}));
    EXPECT_EQ(l.height, 34);

    // Narrow windows are taken as 10 blanks wide; a limit left of the margin moves right.
    Layout narrow(30);
    narrow.run("abcdefg", 0);
    EXPECT_EQ(narrow.pieces(), (std::vector<Piece>{{"abcdefg", 0, 10, 56}}));
    narrow.run("abcdefgh", 0);
    EXPECT_EQ(narrow.pieces().front().text, "a");
    narrow.run("a b", 100);
    EXPECT_EQ(narrow.pieces(), (std::vector<Piece>{{"a ", 100, 10, 116}, {"b", 100, 34, 108}}));
}

TEST(TextLayout, BreaksAtBlanksAndPunctuation) {
    Layout l(100); // right limit 80: ten bytes from margin 0
    l.run("hello world again", 0);
    EXPECT_EQ(l.pieces(), (std::vector<Piece>{
                              {"hello ", 0, 10, 48}, {"world ", 0, 34, 48}, {"again", 0, 58, 40}}));
    EXPECT_EQ(l.height, 82);

    // A closing quote followed by a blank stays with its word.
    Layout quote;
    quote.run("say \"no\" more", 724);
    EXPECT_EQ(quote.pieces()[0].text, "say \"no\" ");
}

TEST(TextLayout, WideWordPutsOneCharacterPerLine) {
    Layout l(100);
    l.run("abcdefghijkl", 0);
    EXPECT_EQ(l.pieces(),
              (std::vector<Piece>{
                  {"a", 0, 10, 8}, {"b", 0, 34, 8}, {"cdefghijkl", 0, 58, 80}})); // fits exactly

    const std::string korean = utf8ToCp949("가나다라마바사아자차카");
    l.run(korean, 0);
    const auto k = l.pieces();
    ASSERT_GE(k.size(), 2u);
    EXPECT_EQ(k[0].text, utf8ToCp949("가"));
    EXPECT_EQ(k[1].text, utf8ToCp949("나"));
}

TEST(TextLayout, BreakOffsetsNeverCutADoubleByteCharacter) {
    FakeSurface s;
    // Lead bytes from 0x81 carry trail bytes that look like ASCII letters.
    const std::string wide = "\x81\x41\x81\x41\x81\x41";
    const std::string text = utf8ToCp949("하나님이 가라사대 빛이 있으라") + wide + "(ab)";
    for (int available = -5; available < 360; ++available) {
        const std::size_t k = screenBreakOffset(s, text, available);
        ASSERT_GE(k, 1u);
        ASSERT_LE(k, text.size());
        std::size_t i = 0;
        while (i < k)
            i += characterLength(text, i);
        EXPECT_EQ(i, k) << "available " << available;
    }
    EXPECT_EQ(screenBreakOffset(s, wide + "(ab)", 48), 4u); // "(" takes the last character
    EXPECT_EQ(screenBreakOffset(s, wide.substr(0, 2) + "abc", 1), 2u); // one character at least
    EXPECT_EQ(printBreakOffset(s, wide, 40), 4u);
    Layout l(100);
    l.run(wide + wide + "(ab)", 0);
    for (const Piece& p : l.pieces()) {
        std::size_t i = 0;
        while (i < p.text.size())
            i += characterLength(p.text, i);
        EXPECT_EQ(i, p.text.size()) << p;
        EXPECT_NE(static_cast<unsigned char>(p.text[0]), 0x41) << p;
    }
    // A lone lead byte is safe at either end of a run.
    EXPECT_EQ(screenBreakOffset(s, "\xB0", 1), 1u);
    EXPECT_EQ(screenBreakOffset(s, "ab\xB0", 1), 1u);
    EXPECT_EQ(screenBreakOffset(s, "\xB0\xA1\xB0", 10), 2u);
}

TEST(TextLayout, FastBreakingMatchesTheLiteralPrefixRule) {
    FakeSurface s;
    std::mt19937 random(7);
    const std::string alphabet = utf8ToCp949("가나 다,.()\"' ab\"라") + "\x81\xFF\x80 \xB0";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        const int available = static_cast<int>(random() % 340) - 10;
        ASSERT_EQ(s.fitCount(text, available), s.literalFitCount(text, available))
            << "round " << round;
    }
}

TEST(TextLayout, VerseNumbersByViewMode) {
    const std::string chapter = "{S VAL=1}{/S}{D}1{/D}In the beginning {S VAL=2}{/S}{D}2{/D}And";
    Layout runOn(800, withViewMode(1));
    runOn.run(chapter);
    // Numbers are measured in their own font: 11 px high, 5 px a byte.
    EXPECT_EQ(runOn.pieces(), (std::vector<Piece>{{"1 ", 40, 10, 50},
                                                  {"In the beginning ", 50, 10, 186},
                                                  {"2 ", 186, 10, 196},
                                                  {"And", 196, 10, 220}}));
    ASSERT_EQ(runOn.engine.verseNumbers().size(), 2u);
    EXPECT_EQ(runOn.engine.verseNumbers()[1]->text, "2 ");
    ASSERT_EQ(runOn.engine.anchors().size(), 2u);
    EXPECT_EQ(*runOn.engine.anchors()[0]->attribute("VAL"), "1");

    Layout ownLines(800, withViewMode(0));
    ownLines.run(chapter);
    EXPECT_EQ(ownLines.text("2 ")->left, 40);
    EXPECT_EQ(ownLines.text("2 ")->top, 34);
    EXPECT_EQ(ownLines.engine.anchors()[1]->top, 10); // the anchor precedes the break

    Layout hidden(800, withViewMode(2));
    hidden.run(chapter);
    const MarkupNode* two = hidden.text("2");
    ASSERT_NE(two, nullptr); // no blank added, no room taken
    EXPECT_EQ(two->left, two->right);
    EXPECT_EQ(hidden.text("And")->left, two->left);
    EXPECT_EQ(hidden.engine.verseNumbers().size(), 2u);

    // The commentary edition gives numbers no room in any mode.
    Layout commentary(800, withViewMode(0));
    commentary.run(chapter, 40, true);
    EXPECT_EQ(commentary.text("2")->right, commentary.text("2")->left);
    EXPECT_EQ(commentary.text("And")->top, 10);
}

TEST(TextLayout, VerseNumberFontAndKeepTogether) {
    Layout l(800, withViewMode(1));
    l.run("{D}1{/D}x");
    // Find the font that the number was laid out in: the last one created.
    const FontRequest& number = l.surface.font(1);
    EXPECT_EQ(number.height, 96 * 11 / 90);
    EXPECT_FALSE(number.cellHeight);
    EXPECT_EQ(number.weight, 100);
    EXPECT_EQ(number.face, utf8ToCp949("바탕체"));

    // The number goes to a new line unless the verse's first word, measured in the number's
    // font (5 px a byte), fits before the right limit less the width of "000" (780 − 15).
    const std::string start = std::string(80, 'a') + " "; // pen at 688
    l.run(start + "{D}7{/D}wordwordwordwo rest");         // 688 + 75 = 763
    EXPECT_EQ(l.text("7 ")->left, 688);
    EXPECT_EQ(l.text("7 ")->top, 10);
    l.run(start + "{D}7{/D}wordwordwordwor rest"); // 688 + 80 = 768
    EXPECT_EQ(l.text("7 ")->left, 40);
    EXPECT_EQ(l.text("7 ")->top, 34);
    // Without a closing tag there is no check.
    l.run(std::string(87, 'a') + " {D}7 wordwordwordwordword");
    EXPECT_EQ(l.list.head()->next()->next()->top, 10);
}

TEST(TextLayout, HeadingsAndLineBreaks) {
    Layout l;
    l.run("abc{H}Title{/H}def");
    // Heading font: 96 dpi × 11 pt / 72 = 14, × 1.2 = 16 px high, so its lines are 25 apart;
    // bold, 10 px a byte.
    EXPECT_EQ(l.pieces(), (std::vector<Piece>{
                              {"abc", 40, 10, 64}, {"Title", 40, 34, 90}, {"def", 40, 59, 64}}));
    const FontRequest& heading = l.surface.font(1);
    EXPECT_EQ(heading.height, 16);
    EXPECT_EQ(heading.weight, 800);
    EXPECT_FALSE(heading.cellHeight);
    l.run("{H A=2.0 B=1.5}T{/H}");
    EXPECT_EQ(l.surface.font(2).height, 21);

    // Two breaks in a row add one; a blank between them makes an empty line.
    l.run("{B}{B}abc");
    EXPECT_EQ(l.text("abc")->top, 10);
    l.run("abc{B}{B}def");
    EXPECT_EQ(l.text("def")->top, 34);
    l.run("abc{B} {B}def");
    EXPECT_EQ(l.text("def")->top, 58);
}

TEST(TextLayout, FontsAndIndents) {
    Layout l;
    l.run("{F SIZ=1.4 VAL=B}x{/F}{F VAL=I VAL=B}y{/F}{F VAL=H NAM=Gulim}z{/F}");
    const FontRequest& big = l.surface.font(1);
    EXPECT_EQ(big.height, 21);
    EXPECT_EQ(big.weight, 800);
    EXPECT_TRUE(big.cellHeight);
    EXPECT_EQ(big.pitch, FontPitch::Variable);
    EXPECT_TRUE(l.surface.font(2).italic);
    EXPECT_EQ(l.surface.font(2).weight, 800);
    EXPECT_EQ(l.surface.font(3).height, 12);
    EXPECT_EQ(l.surface.font(3).face, "Gulim");
    EXPECT_EQ(l.text("x")->lineAdvance, 160 * 21 / 100);
    EXPECT_EQ(l.surface.currentFont(), 0);

    // Unclosed and too deeply nested fonts are all undone at the end.
    std::string nested;
    for (int i = 0; i < 25; ++i)
        nested += "{F SIZ=1.1}a";
    for (int i = 0; i < 23; ++i)
        nested += "{/F}b";
    l.run(nested);
    EXPECT_EQ(l.surface.currentFont(), 0);
    // 25 opened, 20 kept: the first five closings undo nothing, the next 18 leave the
    // font of the second tag (int(1.1 × int(1.1 × 15)) = 17).
    const MarkupNode* last = l.list.tail();
    EXPECT_EQ(last->bottom - last->top, 17);

    l.run("{I VAL=6}indented text{/I}after");
    EXPECT_EQ(l.text("indented text")->left, 40 + 48);
    EXPECT_EQ(l.text("after")->left, 40);
    EXPECT_EQ(l.text("after")->top, 34);
    l.run("{I}flat");
    EXPECT_EQ(l.text("flat")->left, 40);
}

TEST(TextLayout, TablesAndTheFourParenRow) {
    Layout l;
    // Columns of (780 − 40) / 2 = 370.
    l.run("{T VAL=2}{R}{C}ab{/C}{C}cd{/C}{/R}{R}{C}ef{/C}{C}gh{/C}{/R}{/T}after");
    EXPECT_EQ(l.pieces(), (std::vector<Piece>{{"ab", 40, 10, 56},
                                              {"cd", 410, 10, 426},
                                              {"ef", 40, 34, 56},
                                              {"gh", 410, 34, 426},
                                              {"after", 40, 58, 80}}));
    // "4)" in the last column is set one line up and the row does not advance.
    l.run("{T VAL=2}{R}{C}x{/C}{C}4){/C}{/R}{R}{C}y{/C}{C}z{/C}{/R}{/T}");
    EXPECT_EQ(l.text("4)")->top, 10 - 24);
    EXPECT_EQ(l.text("y")->top, 10);

    // Adjacent runs in a table are joined; a long cell wraps inside its column, keeping
    // the last piece as the hot spot.
    l.run("{T VAL=2}{R}{C}{A TAR=k}ab{x}cd " + std::string(30, 'w') + " tail{/A}{/C}{/R}{/T}");
    const auto p = l.pieces();
    ASSERT_EQ(p.size(), 2u);
    // Room: 370 − 40 − 20 = 310; the wrapped line advances by the height, 15.
    EXPECT_EQ(p[0], (Piece{"ab}cd " + std::string(30, 'w') + " ", 40, 10, 336}));
    EXPECT_EQ(p[1], (Piece{"tail", 40, 25, 72}));
    ASSERT_EQ(l.engine.links().size(), 1u);
    EXPECT_EQ(l.engine.links()[0]->text, "tail");

    // A column count below one is one column.
    l.run("{T VAL=0}{R}{C}a{/C}{/R}{/T}b");
    EXPECT_EQ(l.text("b")->top, 34);

    // Columns of 370: a cell in the second column fits while it ends before 740 − 40 and
    // breaks within 740 − 410 − 20; its wrapped line starts at the column's edge, 370,
    // without the margin that the first column's lines get.
    l.run("{T VAL=2}{R}{C}a{/C}{C}" + std::string(33, 'w') + " tail{/C}{/R}{/T}");
    const auto second = l.pieces();
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[1].left, 410);
    EXPECT_EQ(second[2], (Piece{"tail", 370, 25, 402}));
    l.run("{T VAL=2}{R}{C}" + std::string(33, 'w') + " tail{/C}{/R}{/T}");
    EXPECT_EQ(l.pieces()[1].left, 40);
}

TEST(TextLayout, HotSpotsAndFullTables) {
    Layout l;
    l.run("{A TAR=x}link text that wraps " + std::string(100, 'q') +
          "{/A}{N TEX=note}*{/N}plain{D}3{/D}");
    ASSERT_EQ(l.engine.links().size(), 1u);
    EXPECT_EQ(l.engine.links()[0], l.list.head()->next()); // the first line piece only
    ASSERT_EQ(l.engine.footnotes().size(), 1u);
    EXPECT_EQ(l.engine.footnotes()[0]->text, "*");
    EXPECT_EQ(findAttribute(l.engine.footnotes()[0], 'N', "TEX"), "note");
    EXPECT_EQ(l.engine.verseNumbers().size(), 1u);

    std::string many;
    for (int i = 0; i < 350; ++i)
        many += "{S VAL=" + std::to_string(i) + "}{/S}{A TAR=t}l{/A}{N TEX=n}*{/N}{D}" +
                std::to_string(i) + "{/D}v ";
    l.run(many);
    EXPECT_EQ(l.engine.links().size(), 300u);
    EXPECT_EQ(l.engine.footnotes().size(), 300u);
    EXPECT_EQ(l.engine.verseNumbers().size(), 300u);
    EXPECT_EQ(l.engine.anchors().size(), 300u);
    EXPECT_EQ(*l.engine.anchors()[299]->attribute("VAL"), "299");

    l.engine.reset();
    EXPECT_TRUE(l.engine.links().empty());
    EXPECT_TRUE(l.engine.anchors().empty());
}

TEST(TextLayout, UnknownIdsAreReportedAndSkipped) {
    Layout l;
    // Adjacent runs are joined before they are measured.
    l.run("ab{x}cd {y}ef");
    EXPECT_EQ(l.pieces(), (std::vector<Piece>{{"ab}cd }ef", 40, 10, 112}}));
    EXPECT_EQ(l.list.size(), 1u);
    l.messages.clear();
    l.run("a{/B}b{/Z}{/\xE0}c");
    EXPECT_EQ(l.messages, (std::vector<std::string>{"error in ReSize by the node->GetID() [b]",
                                                    "error in ReSize by the node->GetID() [z]",
                                                    "error in ReSize by the node->GetID() [0]"}));
    EXPECT_EQ(l.pieces(),
              (std::vector<Piece>{{"a", 40, 10, 48}, {"b", 48, 10, 56}, {"c", 56, 10, 64}}));

    // By default the message goes to the message sink.
    std::vector<std::string> shown;
    setMessageHandler([&](const std::string& text, const std::string&) { shown.push_back(text); });
    TextLayoutEngine engine;
    FakeSurface surface;
    MarkupNodeList list;
    MarkupParser::parse(&list, "{/Q}");
    engine.ReSize(surface, 40, &list, false);
    setMessageHandler(nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{"error in ReSize by the node->GetID() [q]"}));
}

TEST(TextLayout, LayoutClearsSelectionsAndSurvivesAbsurdValues) {
    Layout l;
    l.run("abc");
    l.list.head()->setSelection(0, MarkupNode::kSelectToEnd);
    l.engine.ReSize(l.surface, 40, &l.list, false);
    EXPECT_FALSE(l.list.head()->selected);

    l.run("{I VAL=99999999999}x{/I}{T VAL=2147483647}{R}{C}y{/C}{/R}{/T}"
          "{F SIZ=1e308}z{/F}{F SIZ=-3}w{/F}{H nan}h{/H}\xB0");
    EXPECT_EQ(l.surface.currentFont(), 0);
    EXPECT_GT(l.height, 10);
}

namespace {

// The pieces of each line, joined.
std::vector<std::string> lines(const Layout& l) {
    std::vector<std::string> out;
    int top = INT_MIN;
    for (const Piece& p : l.pieces()) {
        if (p.top != top)
            out.emplace_back();
        top = p.top;
        out.back() += p.text;
    }
    return out;
}

bool wordByte(char c) {
    return isScreenWordByte(static_cast<unsigned char>(c));
}

} // namespace

TEST(TextLayout, AWordThatRunsOnIntoTheNextRunMovesWhole) {
    // Room from margin 0 to the right limit 80: ten bytes, five Korean characters.
    Layout l(100);
    // "요한에게": the name is its own run, the ending another; together they pass the edge.
    l.run(utf8ToCp949("말씀 {W VAL=P}요한{/W}에게 가라"), 0);
    EXPECT_EQ(lines(l), (std::vector<std::string>{utf8ToCp949("말씀 "), utf8ToCp949("요한에게 "),
                                                  utf8ToCp949("가라")}));
    EXPECT_EQ(l.text(utf8ToCp949("요한"))->left, 0);

    // English: an italic run inside a word, in the italic font (9 px a byte).
    l.run("went to t{F VAL=I}he{/F}e.", 0);
    EXPECT_EQ(lines(l), (std::vector<std::string>{"went to ", "thee."}));
    // The italic run fits (48 + 27 = 75), the word it begins does not (75 + 8).
    l.run("bread {F VAL=I}and{/F}s wine", 0);
    EXPECT_EQ(lines(l), (std::vector<std::string>{"bread ", "ands wine"}));
    // Measured in its own font the italic word would not fit where the base font says it
    // would: 56 + 3 × 9 = 83 passes 80, 56 + 3 × 8 = 80 does not.
    l.run("breads {F VAL=I}and{/F}", 0);
    EXPECT_EQ(lines(l), (std::vector<std::string>{"breads ", "and"}));
    // The run-on part is measured in its own font: bold "d" (10 px) passes the edge where
    // the base font's 8 px would not.
    l.run("breads an{F VAL=B}d{/F}", 0);
    EXPECT_EQ(lines(l), (std::vector<std::string>{"breads ", "and"}));
    // A word that fits stays on the line, across its runs.
    l.run("bre {F VAL=I}and{/F}s", 0);
    EXPECT_EQ(lines(l), (std::vector<std::string>{"bre ands"}));
}

TEST(TextLayout, OnlyAWordWiderThanTheLineIsCut) {
    Layout l(100);
    // Twelve bytes from the line start: cut, at least one character a line, nothing lost.
    l.run("ab {W VAL=P}abcdef{/W}ghijkl", 0);
    const auto cut = lines(l);
    ASSERT_GE(cut.size(), 3u);
    EXPECT_EQ(cut[0], "ab ");
    std::string joined;
    for (const auto& line : cut) {
        EXPECT_FALSE(line.empty());
        joined += line;
    }
    EXPECT_EQ(joined, "ab abcdefghijkl");

    // No piece of a word passes the right limit, not even a lone last syllable.
    l.run(utf8ToCp949("가나다라 {W VAL=R}마바{/W}사"), 0);
    for (const Piece& p : l.pieces())
        EXPECT_LE(p.right, 80) << p;
}

TEST(TextLayout, NoWordIsEverSplitAcrossRuns) {
    // Random text of short words, with styled runs starting and ending inside words: at
    // any width, a line ends only where a word ends.
    const std::vector<std::string> syllables = {
        utf8ToCp949("요"), utf8ToCp949("한"), "a", "nd", utf8ToCp949("유"), "th", "ee"};
    const std::vector<std::string> opens = {"{W VAL=P}", "{F VAL=I}", "{F VAL=B}", "{A TAR=x}",
                                            "{F SIZ=1.3}"};
    const std::vector<std::string> closes = {"{/W}", "{/F}", "{/F}", "{/A}", "{/F}"};
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string markup, plain;
        int open = -1;
        for (int word = 0; word < 30; ++word) {
            const int length = 1 + static_cast<int>(random() % 3);
            for (int s = 0; s < length; ++s) {
                if (random() % 3 == 0) {
                    if (open >= 0) {
                        markup += closes[open];
                        open = -1;
                    } else {
                        open = static_cast<int>(random() % opens.size());
                        markup += opens[open];
                    }
                }
                const std::string& syllable = syllables[random() % syllables.size()];
                markup += syllable;
                plain += syllable;
            }
            const char* gap = random() % 4 == 0 ? ", " : " ";
            markup += gap;
            plain += gap;
        }
        if (open >= 0)
            markup += closes[open];
        const int width = 150 + static_cast<int>(random() % 300);
        Layout l(width);
        l.run(markup, 0);
        const auto broken = lines(l);
        std::string joined;
        for (std::size_t i = 0; i < broken.size(); ++i) {
            joined += broken[i];
            if (i + 1 < broken.size()) {
                ASSERT_FALSE(wordByte(broken[i].back()) && wordByte(broken[i + 1].front()))
                    << "round " << round << " width " << width << ": " << broken[i] << " | "
                    << broken[i + 1];
            }
        }
        ASSERT_EQ(joined, plain) << "round " << round;
    }
}

TEST(TextLayout, MarkRulesAtTheBreakPoint) {
    Layout l(100); // ten bytes from margin 0
    // ":;!?" stay at the line end (with the other closing marks); the break point is the mark.
    for (const char* mark : {":", ";", "!", "?", ")", ">", ".", ","}) {
        l.run(std::string("abcdefghi") + mark + "jk", 0);
        EXPECT_EQ(l.pieces()[0].text, std::string("abcdefghi") + mark) << mark;
    }
    // "<" and "(" go to the next line and take the byte before them along.
    l.run("abcdefgh <jk>", 0);
    EXPECT_EQ(l.pieces()[0].text, "abcdefgh");
    EXPECT_EQ(l.pieces()[1].text, " <jk>");
    l.run("abcdefgh (jk)", 0);
    EXPECT_EQ(l.pieces()[0].text, "abcdefgh");
    // After Korean that byte is half a character, so the whole character goes along.
    l.run(utf8ToCp949("가나다라마(바)"), 0);
    EXPECT_EQ(l.pieces()[0].text, utf8ToCp949("가나다라"));
    EXPECT_EQ(l.pieces()[1].text, utf8ToCp949("마(바)"));
}
