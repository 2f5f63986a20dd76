#include "richtext/richtextpainter.h"

#include "richtext/displaystyle.h"
#include "richtext/highlightmarks.h"
#include "richtext/layoutrules.h"
#include "richtext/markupnode.h"
#include "richtext/surface.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qel {
namespace {

// True when offset k falls between the two bytes of a double-byte character.
bool insideCharacter(std::string_view text, std::size_t k) {
    std::size_t i = 0;
    while (i < k && i < text.size())
        i += characterLength(text, i);
    return i > k;
}

// The largest byte count whose width does not exceed `available`.
std::size_t countNotExceeding(Surface& surface, std::string_view text, long long available) {
    if (available < 0 || text.empty())
        return 0;
    const int limit = static_cast<int>(std::min<long long>(available, 1 << 29));
    const std::size_t k = surface.fitCount(text, limit + 1);
    if (k < text.size())
        return k - 1;
    return surface.textExtent(text).width <= limit ? k : k - 1;
}

class PaintPass {
public:
    PaintPass(Surface& surface, const DisplayStyle& settings, int fontSize, bool commentary,
              bool draw)
        : surface_(surface), style_(surface, settings, fontSize, commentary), draw_(draw) {}

    void setView(int scroll, int bandTop, int bandBottom, std::uint32_t background) {
        scroll_ = scroll;
        bandTop_ = bandTop;
        bandBottom_ = bandBottom;
        background_ = background;
        markColours_ = highlightColoursFor(background);
    }

    void setMarks(const std::vector<NodeMark>* marks) { marks_ = marks; }

    void run(MarkupNodeList& list) {
        style_.begin();
        for (MarkupNode* node = list.head(); node; node = node->next()) {
            if (node->isText())
                piece(*node);
            else
                style_.apply(*node);
        }
        style_.end();
        drawParts();
    }

private:
    // One part of a piece to draw: every background is filled before any text is drawn, so
    // that no box covers the overhang of the letter before it (the slant of italics).
    struct Part {
        int x;
        int y;
        int width;
        int height;
        std::string_view text;
        FontId font;
        std::uint32_t color;
        std::uint32_t background;
    };

    void drawParts() {
        const FontId font = surface_.currentFont();
        for (const Part& p : parts_)
            surface_.fillRect(p.x, p.y, p.width, p.height, p.background);
        for (const Part& p : parts_) {
            surface_.selectFont(p.font);
            surface_.setTextColor(p.color);
            surface_.drawText(p.x, p.y, p.text);
        }
        surface_.selectFont(font);
        surface_.setTextColor(style_.color());
    }

    // The marks of this run; the cursor follows the list, so each run is looked at once.
    std::pair<std::size_t, std::size_t> marksOf(const MarkupNode& node) {
        if (!marks_)
            return {0, 0};
        const std::size_t first = markCursor_;
        while (markCursor_ < marks_->size() && (*marks_)[markCursor_].node == &node)
            ++markCursor_;
        return {first, markCursor_};
    }

    // An unselected run, its highlighted bytes on their colours.
    void drawMarked(const MarkupNode& node, std::string_view text) {
        int x = node.left;
        std::size_t done = 0;
        for (std::size_t i = markRange_.first; i < markRange_.second; ++i) {
            const NodeMark& mark = (*marks_)[i];
            const auto from = static_cast<std::size_t>(mark.byteStart);
            const auto to = std::min(static_cast<std::size_t>(mark.byteEnd), text.size());
            if (from < done || from >= to)
                continue;
            if (from > done)
                x += drawPart(x, node, text.substr(done, from - done));
            x += addPart(x, node, text.substr(from, to - from), style_.color(),
                         markColours_[mark.colour - 1]);
            done = to;
        }
        if (done < text.size())
            drawPart(x, node, text.substr(done));
    }

    void piece(MarkupNode& node) {
        markRange_ = marksOf(node);
        if (draw_ && !(node.bottom > bandTop_ && node.top < bandBottom_))
            return;
        const bool hidden = style_.hidden();
        const std::string_view text = node.text;
        if (!node.selected) {
            if (draw_ && !hidden && !text.empty())
                drawMarked(node, text);
            return;
        }
        if (hidden || style_.raised() || style_.lowered()) {
            // Too small to select by parts: the piece is selected as a whole.
            node.selectStartOffset = 0;
            node.selectEndOffset = static_cast<int>(text.size());
            if (draw_ && !hidden && !text.empty())
                drawSelected(node.left, node, text);
            return;
        }

        std::size_t head = countNotExceeding(surface_, text,
                                             static_cast<long long>(node.selectStartX) - node.left);
        if (insideCharacter(text, head))
            --head;
        const std::string_view rest = text.substr(head);
        // The rest begins where the head ends, not at the press point: measuring from the
        // press point left the character under the release point, or the closing period,
        // out of the selection.
        const long long base =
            static_cast<long long>(node.left) + surface_.textExtent(text.substr(0, head)).width;
        const long long target = static_cast<long long>(node.selectEndX) - base;
        std::size_t middle = 0;
        if (target > 0 && !rest.empty()) {
            middle =
                surface_.fitCount(rest, static_cast<int>(std::min<long long>(target, 1 << 29)));
            // Take the whole character under the end point, never a character more.
            if (insideCharacter(rest, middle))
                ++middle;
        }
        node.selectStartOffset = static_cast<int>(head);
        node.selectEndOffset = static_cast<int>(head + middle);
        if (!draw_ || hidden || text.empty())
            return;

        int x = node.left;
        if (head > 0)
            x += drawPart(x, node, text.substr(0, head));
        if (middle > 0)
            x += drawSelected(x, node, rest.substr(0, middle));
        if (node.selectEndX <= node.right && head + middle < text.size())
            drawPart(x, node, text.substr(head + middle));
    }

    int drawTop(const MarkupNode& node) const {
        return node.top - scroll_ + (style_.lowered() ? node.lineAdvance / 5 : 0);
    }

    // Returns the part's width.
    int addPart(int x, const MarkupNode& node, std::string_view text, std::uint32_t color,
                std::uint32_t background) {
        const TextExtent extent = surface_.textExtent(text);
        parts_.push_back({x, drawTop(node), extent.width, extent.height, text,
                          surface_.currentFont(), color, background});
        return extent.width;
    }

    int drawPart(int x, const MarkupNode& node, std::string_view text) {
        return addPart(x, node, text, style_.color(), background_);
    }

    int drawSelected(int x, const MarkupNode& node, std::string_view text) {
        return addPart(x, node, text, kSelectionTextColor, kSelectionBackColor);
    }

    Surface& surface_;
    TagStyle style_;
    const bool draw_;
    int scroll_ = 0;
    int bandTop_ = 0;
    int bandBottom_ = 0;
    std::uint32_t background_ = 0xFFFFFF;
    std::vector<Part> parts_;
    const std::vector<NodeMark>* marks_ = nullptr;
    std::size_t markCursor_ = 0;
    std::pair<std::size_t, std::size_t> markRange_{0, 0};
    const std::uint32_t* markColours_ = nullptr;
};

} // namespace

void paintMarkup(Surface& surface, MarkupNodeList& list, const PaintParameters& parameters) {
    const DisplayStyle defaults;
    PaintPass pass(surface, parameters.settings ? *parameters.settings : defaults,
                   parameters.fontSize, parameters.commentary, true);
    pass.setView(parameters.scrollPosition, parameters.bandTop, parameters.bandBottom,
                 parameters.background);
    pass.setMarks(parameters.marks);
    pass.run(list);
}

void measureSelection(Surface& surface, MarkupNodeList& list, const DisplayStyle& settings,
                      int fontSize, bool commentary) {
    PaintPass pass(surface, settings, fontSize, commentary, false);
    pass.run(list);
}

} // namespace qel
