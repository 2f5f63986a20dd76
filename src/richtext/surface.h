#pragma once

#include "platform/codec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

// Size of a CP949 byte string in the current font, in device pixels.
struct TextExtent {
    int width = 0;
    int height = 0; // the font's cell height, whatever the text
};

enum class FontPitch { Default, Variable };

// A font as the layout asks for it. A cell height includes the font's internal leading
// (the line height); a character height is the em size.
struct FontRequest {
    int height = 0;
    bool cellHeight = true;
    int weight = 400; // 100 thin … 400 normal … 800 extra bold
    bool italic = false;
    std::string face; // CP949
    FontPitch pitch = FontPitch::Default;
};

struct FontDescription {
    int weight = 400;
    bool italic = false;
    std::string face; // CP949
};

// Handle of a font made by a surface; valid for the surface's lifetime.
using FontId = int;

// What the layout, paint and print passes measure and draw through. Positions are device
// pixels, y growing downwards; colours are 0x00BBGGRR.
class Surface {
public:
    virtual ~Surface() = default;

    // --- measuring
    virtual TextExtent textExtent(std::string_view text) = 0;
    // The smallest k in 1 … n − 1 whose prefix text[0, k) is at least `available` wide, or n
    // when none is. Surfaces override this to avoid measuring one prefix per byte; the
    // result must equal the literal rule below.
    virtual std::size_t fitCount(std::string_view text, int available);
    virtual FontDescription fontDescription() = 0;
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    // The window's client area, or the printable page on a printer.
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;

    // --- fonts
    virtual FontId createFont(const FontRequest& request) = 0;
    // Makes `font` current and returns the font that was current.
    virtual FontId selectFont(FontId font) = 0;
    virtual FontId currentFont() const = 0;

    // --- drawing
    virtual void setTextColor(std::uint32_t color) = 0;
    // Draws the letters of text with the top-left corner of its box at (x, y); what lies
    // behind them stays (backgrounds are filled first, so a slanted letter may overhang).
    virtual void drawText(int x, int y, std::string_view text) = 0;
    virtual void fillRect(int x, int y, int width, int height, std::uint32_t color) = 0;
    // Ends the page and starts the next one (printers only).
    virtual void newPage() {}

protected:
    // The literal growing-prefix rule: one measurement per byte.
    std::size_t fitCountByPrefixes(std::string_view text, int available);
};

inline std::size_t Surface::fitCount(std::string_view text, int available) {
    return fitCountByPrefixes(text, available);
}

inline std::size_t Surface::fitCountByPrefixes(std::string_view text, int available) {
    for (std::size_t k = 1; k < text.size(); ++k)
        if (textExtent(text.substr(0, k)).width >= available)
            return k;
    return text.size();
}

// Surfaces that measure a text as the sum of its characters' advances keep advances in
// 1/64 pixel (the unit of font engines) and round only the sum.
inline int widthFromAdvances(std::int64_t sum) {
    constexpr std::int64_t kLimit = std::int64_t{1} << 36;
    return static_cast<int>((sum < kLimit ? sum + 32 : kLimit) >> 6);
}

// fitCount for a surface whose width of any text is widthFromAdvances(the sum of
// advance(c) over its characters c). One advance per character instead of one measurement
// per prefix, with the same result as the literal rule: a prefix that ends inside a
// double-byte character ends with a lone lead byte.
template <typename AdvanceFn>
std::size_t fitCountByAdvances(std::string_view text, int available, AdvanceFn&& advance) {
    const std::size_t n = text.size();
    std::int64_t sum = 0;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t length = characterLength(text, i);
        if (length == 2 && widthFromAdvances(sum + advance(text.substr(i, 1))) >= available)
            return i + 1; // i + 1 < n here
        sum += advance(text.substr(i, length));
        i += length;
        if (i < n && widthFromAdvances(sum) >= available)
            return i;
    }
    return n;
}

} // namespace qel
