#pragma once

#include "richtext/surface.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Rules shared by the layout, paint and print passes: attribute numbers, tag fonts, line
// breaking and the font and colour stacks.
namespace qel {

struct DisplayStyle;
class MarkupNode;

// Leading blanks, a sign and digits, like atoi; out-of-range values saturate.
int markupInt(std::string_view text);
// A decimal number like atof; anything that is not a finite number reads as 0.
double markupDecimal(std::string_view text);
// COL: nine decimal digits, three each for red, green and blue; gives 0x00BBGGRR.
std::uint32_t markupColor(std::string_view text);

// Value of the first attribute in list order (the last one written), if any.
const std::string* firstAttributeValue(const MarkupNode& node);

// Font heights are kept in a sane range so that no attribute can overflow the arithmetic.
constexpr int kMaxFontHeight = 1000;
int clampFontHeight(long long height);
// Positions saturate instead of wrapping on absurd input (huge indents, millions of lines).
int clampedSum(long long a, long long b);

// F: starts from the current font and applies SIZ, NAM and VAL in list order.
FontRequest tagFontRequest(Surface& surface, const MarkupNode& tag, FontPitch pitch);
// H: bold at the first attribute's factor (1.2 without one) of the base size.
FontRequest headingFontRequest(const MarkupNode& tag, int dpiY, int fontSize,
                               const std::string& baseFace);
// D: thin, 80 percent of the base size.
FontRequest verseNumberFontRequest(int dpiY, int fontSize, const std::string& baseFace);

// The print font: the base face at weight 500, (dpiY × font size) / 72 high.
FontRequest printFontRequest(int dpiY, int fontSize, const std::string& baseFace);

// Bytes that words are made of: on screen every byte that is neither ASCII white space nor
// punctuation, in print the ASCII letters and digits.
bool isScreenWordByte(unsigned char c);
bool isPrintWordByte(unsigned char c);
using WordBytes = bool (*)(unsigned char);

// Screen breaking: the break offset of a run that does not fit in `available` pixels. Never
// cuts a double-byte character and always keeps at least one character on the line.
std::size_t screenBreakOffset(Surface& surface, std::string_view text, int available);
// The same break when the run holds a break opportunity before the overflow point, else 0
// (the word reaching the edge began at the start of the run or before it).
std::size_t screenWordBreak(Surface& surface, std::string_view text, int available);
// Where a run breaks when its last word has to move to the next line; 0 when the run holds
// no break opportunity.
std::size_t lastScreenWordBreak(std::string_view text);
// Print breaking: may break between Korean characters and at any byte that is not an ASCII
// letter or digit. Returns 0 when nothing fits.
std::size_t printBreakOffset(Surface& surface, std::string_view text, int available);
// The print rule's break before the run's last word; 0 when there is none.
std::size_t lastPrintWordBreak(std::string_view text);

class FontStack;

// Width of the word that runs on after a text run into the runs from `next` onwards, across
// tags that neither break the line nor move the pen, each part measured in its own font
// (`fonts` is a copy of the pass's stack, so that closing tags find their fonts). Stops
// early once the width passes `limit`. The surface ends with its font as it was.
int runOnWidth(Surface& surface, const MarkupNode* next, FontStack fonts, FontPitch pitch,
               WordBytes wordByte, int limit);

// The fonts that F, D and H tags replaced. Tags nested deeper than the capacity leave the
// font as it is, and their closing tags restore nothing, so pairs stay matched.
class FontStack {
public:
    static constexpr std::size_t kCapacity = 20;

    void push(Surface& surface, FontId font);
    void pop(Surface& surface);
    // Restores every font still on the stack, innermost first.
    void restoreAll(Surface& surface);
    std::size_t depth() const { return size_; }

private:
    std::array<FontId, kCapacity> fonts_{};
    std::size_t size_ = 0;
    std::size_t overflow_ = 0;
};

// Text colours replaced by colouring tags. It grows with the nesting, which the input
// bounds, so no pair is ever lost.
class ColorStack {
public:
    void push(std::uint32_t color) { colors_.push_back(color); }
    // The colour to restore: black when the stack is empty.
    std::uint32_t pop();
    std::size_t depth() const { return colors_.size(); }
    void clear() { colors_.clear(); }

private:
    std::vector<std::uint32_t> colors_;
};

// The look-ahead of a verse number: the first run of the verse, whose first word the
// number is kept on one line with. Remembers a failed search, so that a page without
// closing tags costs one walk, not one per number.
class VerseLookAhead {
public:
    // True when the first word (up to and with its blank) at pen x, measured with "000" in
    // the current font (the verse-number font), passes the right limit.
    bool breaksLine(Surface& surface, const MarkupNode& verseTag, long long x, int rightLimit);

private:
    const MarkupNode* firstRunAfter(const MarkupNode& verseTag);

    bool noEndAhead_ = false;
};

// A piece in a table's last column ends the row: the line advances, except after a "4)",
// which is set one line up and leaves the pen's line where it was.
struct RowEnd {
    int pieceShift; // added to the piece's top
    int advance;    // added to y
};
RowEnd rowEnd(std::string_view piece, int advance);

// The fonts and colours that tags give their text, as the paint and print passes apply
// them (the layout only needs the fonts, with its own pitch).
class TagStyle {
public:
    TagStyle(Surface& surface, const DisplayStyle& settings, int fontSize, bool commentary);

    // Remembers the base face and starts with black text.
    void begin();
    // Acts on a tag; text runs and tags without style change nothing.
    void apply(const MarkupNode& node);
    // Restores every font still pushed and the colour the pass began with.
    void end();

    std::uint32_t color() const { return color_; }
    bool verseNumbersShown() const;
    // Inside a verse number that is not shown.
    bool hidden() const { return hidden_; }
    bool lowered() const { return lowered_; }
    bool raised() const { return raised_; }
    // The fonts pushed so far, for look-aheads that measure text beyond the current tag.
    const FontStack& fonts() const { return fonts_; }

private:
    void setColor(std::uint32_t color);
    void pushColor(std::uint32_t color);
    void popColor();
    std::uint32_t slot(int colorSlot) const;

    Surface& surface_;
    const DisplayStyle& settings_;
    const int fontSize_;
    const bool commentary_;
    std::string baseFace_;
    FontStack fonts_;
    ColorStack colors_;
    std::uint32_t color_ = 0;
    bool hidden_ = false;
    bool lowered_ = false;
    bool raised_ = false;
};

} // namespace qel
