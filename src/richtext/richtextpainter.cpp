#include "richtext/richtextpainter.h"

#include "richtext/displaystyle.h"
#include "richtext/layoutrules.h"
#include "richtext/markupnode.h"
#include "richtext/surface.h"

#include <algorithm>
#include <string>
#include <string_view>

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
        : surface_(surface), settings_(settings), fontSize_(fontSize), commentary_(commentary),
          draw_(draw) {}

    void setView(int scroll, int bandTop, int bandBottom, std::uint32_t background) {
        scroll_ = scroll;
        bandTop_ = bandTop;
        bandBottom_ = bandBottom;
        background_ = background;
    }

    void run(MarkupNodeList& list) {
        baseFace_ = surface_.fontDescription().face;
        surface_.setBackgroundColor(background_);
        surface_.setTextColor(color_);
        for (MarkupNode* node = list.head(); node; node = node->next())
            step(*node);
        fonts_.restoreAll(surface_);
        colors_.clear();
    }

private:
    void setColor(std::uint32_t color) {
        color_ = color;
        surface_.setTextColor(color);
    }
    void pushColor(std::uint32_t color) {
        colors_.push(color_);
        setColor(color);
    }
    void popColor() { setColor(colors_.pop()); }
    std::uint32_t slot(ColorSlot s) const { return settings_.colorTable[s]; }

    void pushFont(const FontRequest& request) {
        fonts_.push(surface_, surface_.createFont(request));
    }

    void step(MarkupNode& node) {
        const bool numbersHidden = settings_.viewMode == 2 || commentary_;
        switch (node.GetID()) {
        case MarkupNode::kText:
            piece(node);
            break;
        case 'A':
            pushColor(slot(kColorLink));
            break;
        case 'N':
            pushColor(slot(kColorFootnote));
            break;
        case 'W':
            if (settings_.useDifferentColor == 1)
                pushColor(wordColor(node));
            break;
        case 'H':
            pushFont(headingFontRequest(node, surface_.dpiY(), fontSize_, baseFace_));
            pushColor(slot(kColorSectionTitle));
            break;
        case 'D':
            if (numbersHidden) {
                hidden_ = true;
            } else {
                pushFont(verseNumberFontRequest(surface_.dpiY(), fontSize_, baseFace_));
                pushColor(slot(kColorVerseMark));
            }
            lowered_ = true;
            break;
        case 'F': {
            pushFont(tagFontRequest(surface_, node, FontPitch::Default));
            const std::string* color = node.attribute("COL");
            pushColor(color ? markupColor(*color) : 0);
            if (const std::string* value = node.attribute("VAL"); value && !value->empty()) {
                if ((*value)[0] == 'H')
                    raised_ = true;
                else if ((*value)[0] == 'L')
                    lowered_ = true;
            }
            break;
        }
        case 'a':
        case 'n':
            popColor();
            break;
        case 'w':
            if (settings_.useDifferentColor == 1)
                popColor();
            break;
        case 'h':
            fonts_.pop(surface_);
            popColor();
            break;
        case 'f':
            fonts_.pop(surface_);
            popColor();
            raised_ = lowered_ = false;
            break;
        case 'd':
            if (!numbersHidden) {
                popColor();
                fonts_.pop(surface_);
            }
            hidden_ = lowered_ = false;
            break;
        default:
            break;
        }
    }

    std::uint32_t wordColor(const MarkupNode& node) const {
        const std::string* value = node.attribute("VAL");
        switch (value && !value->empty() ? (*value)[0] : '\0') {
        case 'P':
            return slot(kColorPersonName);
        case 'R':
            return slot(kColorPlaceName);
        case 'O':
            return slot(kColorForeignWord);
        default:
            return slot(kColorRelated);
        }
    }

    void piece(MarkupNode& node) {
        if (draw_ && !(node.bottom > bandTop_ && node.top < bandBottom_))
            return;
        const std::string_view text = node.text;
        if (!node.selected) {
            if (draw_ && !hidden_ && !text.empty())
                drawPart(node.left, node, text);
            return;
        }
        if (hidden_ || raised_ || lowered_) {
            // Too small to select by parts: the piece is selected as a whole.
            node.selectStartOffset = 0;
            node.selectEndOffset = static_cast<int>(text.size());
            if (draw_ && !hidden_ && !text.empty())
                drawSelected(node.left, node, text);
            return;
        }

        std::size_t head = countNotExceeding(surface_, text,
                                             static_cast<long long>(node.selectStartX) - node.left);
        if (insideCharacter(text, head))
            --head;
        const std::string_view rest = text.substr(head);
        const long long base = node.selectStartX == 0 ? node.left : node.selectStartX;
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
        if (!draw_ || hidden_ || text.empty())
            return;

        int x = node.left;
        if (head > 0) {
            drawPart(x, node, text.substr(0, head));
            x += surface_.textExtent(text.substr(0, head)).width;
        }
        if (middle > 0) {
            drawSelected(x, node, rest.substr(0, middle));
            x += surface_.textExtent(rest.substr(0, middle)).width;
        }
        if (node.selectEndX <= node.right && head + middle < text.size())
            drawPart(x, node, text.substr(head + middle));
    }

    int drawTop(const MarkupNode& node) const {
        return node.top - scroll_ + (lowered_ ? node.lineAdvance / 5 : 0);
    }

    void drawPart(int x, const MarkupNode& node, std::string_view text) {
        surface_.setBackgroundColor(background_);
        surface_.drawText(x, drawTop(node), text);
    }

    void drawSelected(int x, const MarkupNode& node, std::string_view text) {
        surface_.setTextColor(kSelectionTextColor);
        surface_.setBackgroundColor(kSelectionBackColor);
        surface_.drawText(x, drawTop(node), text);
        surface_.setBackgroundColor(background_);
        surface_.setTextColor(color_);
    }

    Surface& surface_;
    const DisplayStyle& settings_;
    const int fontSize_;
    const bool commentary_;
    const bool draw_;
    int scroll_ = 0;
    int bandTop_ = 0;
    int bandBottom_ = 0;
    std::uint32_t background_ = 0xFFFFFF;
    std::string baseFace_;
    FontStack fonts_;
    ColorStack colors_;
    std::uint32_t color_ = 0;
    bool hidden_ = false;
    bool lowered_ = false;
    bool raised_ = false;
};

} // namespace

void paintMarkup(Surface& surface, MarkupNodeList& list, const PaintParameters& parameters) {
    const DisplayStyle defaults;
    PaintPass pass(surface, parameters.settings ? *parameters.settings : defaults,
                   parameters.fontSize, parameters.commentary, true);
    pass.setView(parameters.scrollPosition, parameters.bandTop, parameters.bandBottom,
                 parameters.background);
    pass.run(list);
}

void measureSelection(Surface& surface, MarkupNodeList& list, const DisplayStyle& settings,
                      int fontSize, bool commentary) {
    PaintPass pass(surface, settings, fontSize, commentary, false);
    pass.run(list);
}

} // namespace qel
