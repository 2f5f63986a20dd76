#pragma once

#include "platform/codec.h"
#include "richtext/surface.h"

#include <algorithm>
#include <string>
#include <vector>

// A surface whose widths depend on the font, so that tests can tell which font measured a
// text: a single byte is 8 × height / 15 pixels (8 in the base font), 2 more in bold (weight
// 700 and up), 1 more in italics; a double-byte character is twice that. Every text is as
// high as the current font. Font 0 is the base font, 15 pixels high. Equal requests give
// the same font, as on a real surface.
class FakeSurface : public qel::Surface {
public:
    struct Drawn {
        int x;
        int y;
        std::string text;
        std::uint32_t color;
        qel::FontId font;
        int page;
        bool operator==(const Drawn&) const = default;
    };

    explicit FakeSurface(int clientWidth = 800, int clientHeight = 600)
        : width_(clientWidth), height_(clientHeight) {
        qel::FontRequest base;
        base.height = 15;
        base.weight = 400;
        base.face = qel::utf8ToCp949("바탕체");
        fonts_.push_back(base);
    }

    int dpi = 96;
    std::vector<Drawn> drawn;
    int pages = 1;

    // Width of a single byte in a font, in pixels.
    static int byteWidth(const qel::FontRequest& f) {
        return std::max(1, 8 * f.height / 15) + (f.weight >= 700 ? 2 : 0) + (f.italic ? 1 : 0);
    }
    std::int64_t advance(std::string_view character) const {
        return std::int64_t{byteWidth(fonts_[current_])} * 64 * (character.size() == 2 ? 2 : 1);
    }

    qel::TextExtent textExtent(std::string_view text) override {
        std::int64_t sum = 0;
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t length = qel::characterLength(text, i);
            sum += advance(text.substr(i, length));
            i += length;
        }
        return {qel::widthFromAdvances(sum), fonts_[current_].height};
    }
    std::size_t fitCount(std::string_view text, int available) override {
        return qel::fitCountByAdvances(text, available,
                                       [this](std::string_view c) { return advance(c); });
    }
    // Breaks by measuring one prefix per byte, as the rule is written.
    std::size_t literalFitCount(std::string_view text, int available) {
        return fitCountByPrefixes(text, available);
    }
    qel::FontDescription fontDescription() override {
        const qel::FontRequest& f = fonts_[current_];
        return {f.weight, f.italic, f.face};
    }
    int dpiX() const override { return dpi; }
    int dpiY() const override { return dpi; }
    int clientWidth() const override { return width_; }
    int clientHeight() const override { return height_; }

    qel::FontId createFont(const qel::FontRequest& request) override {
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            const qel::FontRequest& f = fonts_[i];
            if (f.height == request.height && f.cellHeight == request.cellHeight &&
                f.weight == request.weight && f.italic == request.italic &&
                f.face == request.face && f.pitch == request.pitch)
                return static_cast<qel::FontId>(i);
        }
        fonts_.push_back(request);
        return static_cast<qel::FontId>(fonts_.size() - 1);
    }
    qel::FontId selectFont(qel::FontId font) override {
        const qel::FontId previous = current_;
        current_ = font;
        return previous;
    }
    qel::FontId currentFont() const override { return current_; }
    const qel::FontRequest& font(qel::FontId id) const { return fonts_[id]; }

    void setTextColor(std::uint32_t color) override { color_ = color; }
    void drawText(int x, int y, std::string_view text) override {
        drawn.push_back({x, y, std::string(text), color_, current_, pages});
    }
    void fillRect(int, int, int, int, std::uint32_t) override {}
    void newPage() override { ++pages; }

private:
    int width_;
    int height_;
    std::vector<qel::FontRequest> fonts_;
    qel::FontId current_ = 0;
    std::uint32_t color_ = 0;
};
