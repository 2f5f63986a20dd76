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

// Screen breaking: the break offset of a run that does not fit in `available` pixels. Never
// cuts a double-byte character and always keeps at least one character on the line.
std::size_t screenBreakOffset(Surface& surface, std::string_view text, int available);
// Print breaking: may break between Korean characters and at any byte that is not an ASCII
// letter or digit. Returns 0 when nothing fits.
std::size_t printBreakOffset(Surface& surface, std::string_view text, int available);

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

} // namespace qel
