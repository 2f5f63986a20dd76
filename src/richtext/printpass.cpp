#include "richtext/printpass.h"

#include "richtext/displaystyle.h"
#include "richtext/layoutrules.h"
#include "richtext/markupnode.h"
#include "richtext/surface.h"
#include "richtext/textlayoutengine.h"

#include <algorithm>
#include <climits>

namespace qel {
namespace {

// Printer pixels per unit of an I tag's value.
constexpr int kPrintIndentUnit = 8;

class PrintWalk {
public:
    PrintWalk(Surface& surface, const DisplayStyle& settings, bool commentary,
              const std::string* title, const std::string* footer)
        : surface_(surface), settings_(settings), commentary_(commentary), title_(title),
          footer_(footer) {}

    int run(const MarkupNodeList& list) {
        page_ = printPageGeometry(surface_);
        baseFont_ = surface_.currentFont();
        baseFace_ = surface_.fontDescription().face;
        fontSize_ = settings_.fontSize;
        lineSpacing_ = settings_.lineSpacing;
        surface_.setBackgroundColor(0xFFFFFF);
        surface_.setTextColor(color_);
        x_ = page_.leftMargin;
        y_ = page_.firstLine;
        printTitle();
        for (const MarkupNode* node = list.head(); node; node = node->next())
            node = walk(node);
        printFooter();
        fonts_.restoreAll(surface_);
        while (colors_.depth() > 0)
            color_ = colors_.pop();
        surface_.setTextColor(color_);
        return pages_;
    }

private:
    int lineStart() const { return clampedSum(page_.leftMargin, indent_); }

    void lineBreak() {
        if (x_ != page_.leftMargin && x_ != lineStart())
            y_ = clampedSum(y_, advance_);
        x_ = lineStart();
        pageBreakCheck();
    }

    void pageBreakCheck() {
        if (y_ < page_.bottomLimit)
            return;
        printFooter();
        surface_.newPage();
        ++pages_;
        printTitle();
        y_ = page_.firstLine;
    }

    // Title and footer stand in the print font, in black, whatever the text around them.
    void printInBaseFont(int x, int y, const std::string& text) {
        const FontId previous = surface_.selectFont(baseFont_);
        surface_.setTextColor(0);
        surface_.drawText(x, y, text);
        surface_.setTextColor(color_);
        surface_.selectFont(previous);
    }

    void printTitle() {
        if (title_ && !title_->empty())
            printInBaseFont(page_.leftMargin, page_.topMargin, *title_);
    }

    void printFooter() {
        if (!footer_ || footer_->empty())
            return;
        const FontId previous = surface_.selectFont(baseFont_);
        const int width = surface_.textExtent(*footer_).width;
        surface_.selectFont(previous);
        printInBaseFont(page_.rightLimit - width, page_.footerLine, *footer_);
    }

    void pushColor(std::uint32_t color) {
        colors_.push(color_);
        color_ = color;
        surface_.setTextColor(color_);
    }

    void popColor() {
        color_ = colors_.pop();
        surface_.setTextColor(color_);
    }

    std::uint32_t slotColor(ColorSlot slot) const { return settings_.colorTable[slot]; }

    std::uint32_t wordColor(const MarkupNode& node) const {
        const std::string* category = node.attribute("VAL");
        const char c = category && !category->empty() ? (*category)[0] : 0;
        return c == 'P'   ? slotColor(kColorPersonName)
               : c == 'R' ? slotColor(kColorPlaceName)
               : c == 'O' ? slotColor(kColorForeignWord)
                          : slotColor(kColorRelated);
    }

    bool verseNumbersShown() const { return !commentary_ && settings_.viewMode != 2; }

    // Returns the last node consumed.
    const MarkupNode* walk(const MarkupNode* node) {
        switch (node->GetID()) {
        case MarkupNode::kText:
            return printRun(node);
        case 'A':
            pushColor(slotColor(kColorLink));
            break;
        case 'N':
            pushColor(slotColor(kColorFootnote));
            break;
        case 'a':
        case 'n':
            popColor();
            break;
        case 'W':
            if (settings_.useDifferentColor == 1)
                pushColor(wordColor(*node));
            break;
        case 'w':
            if (settings_.useDifferentColor == 1)
                popColor();
            break;
        case 'B':
        case 'r':
            lineBreak();
            break;
        case 'F': {
            fonts_.push(surface_,
                        surface_.createFont(tagFontRequest(surface_, *node, FontPitch::Default)));
            const std::string* col = node->attribute("COL");
            pushColor(col ? markupColor(*col) : 0);
            for (const MarkupAttribute* a = node->firstAttribute(); a; a = a->next.get())
                if (a->name == "VAL" && !a->value.empty()) {
                    lowered_ = lowered_ || a->value[0] == 'L';
                }
            break;
        }
        case 'f':
            fonts_.pop(surface_);
            popColor();
            lowered_ = verseOpen_ = false;
            break;
        case 'H':
            lineBreak();
            fonts_.push(surface_, surface_.createFont(headingFontRequest(*node, surface_.dpiY(),
                                                                         fontSize_, baseFace_)));
            pushColor(slotColor(kColorSectionTitle));
            break;
        case 'h':
            fonts_.pop(surface_);
            popColor();
            lineBreak();
            break;
        case 'D':
            verseNumber(node);
            break;
        case 'd':
            if (verseNumbersShown()) {
                popColor();
                fonts_.pop(surface_);
            }
            hidden_ = lowered_ = verseOpen_ = false;
            break;
        case 'I': {
            const std::string* value = firstAttributeValue(*node);
            indent_ =
                value ? clampedSum(static_cast<long long>(markupInt(*value)) * kPrintIndentUnit, 0)
                      : 0;
            lineBreak();
            break;
        }
        case 'i':
            indent_ = 0;
            lineBreak();
            break;
        case 'R':
            lineBreak();
            column_ = 0;
            break;
        case 'T':
            lineBreak();
            if (const std::string* value = firstAttributeValue(*node))
                columns_ = markupInt(*value);
            columns_ = std::max(columns_, 1);
            inTable_ = true;
            columnWidth_ = (page_.rightLimit - page_.leftMargin) / columns_;
            break;
        case 't':
            lineBreak();
            columns_ = 1;
            inTable_ = false;
            break;
        case 'c':
            if (++column_ >= columns_)
                column_ = 0;
            x_ = clampedSum(static_cast<long long>(columnWidth_) * column_, page_.leftMargin);
            break;
        default:
            break;
        }
        return node;
    }

    void verseNumber(const MarkupNode* node) {
        if (!verseNumbersShown()) {
            hidden_ = true;
            return;
        }
        if (settings_.viewMode == 0)
            lineBreak();
        fonts_.push(surface_, surface_.createFont(
                                  verseNumberFontRequest(surface_.dpiY(), fontSize_, baseFace_)));
        pushColor(slotColor(kColorVerseMark));
        lowered_ = true;
        const MarkupNode* n = node->next();
        while (n && n->GetID() != 'd')
            n = n->next();
        if (n)
            for (n = n->next(); n && !n->isText(); n = n->next()) {
            }
        if (n) {
            const std::size_t blank = n->text.find(' ');
            const std::string_view word = std::string_view(n->text).substr(
                0, blank == std::string::npos ? n->text.size() : blank + 1);
            if (static_cast<long long>(x_) + surface_.textExtent(word).width >
                page_.rightLimit - surface_.textExtent("000").width)
                lineBreak();
        }
        verseOpen_ = true;
    }

    const MarkupNode* printRun(const MarkupNode* node) {
        std::string text = node->text;
        while (node->next() && node->next()->isText()) {
            node = node->next();
            text += node->text;
        }
        if (hidden_)
            return node;
        if (verseOpen_ && (text.empty() || text.back() != ' '))
            text += ' ';
        const int h = surface_.textExtent(text).height;
        advance_ = static_cast<int>(static_cast<long long>(lineSpacing_) * h / 100);
        const int lowerBy = lowered_ ? h / 5 : 0;

        std::string_view rest = text;
        bool retried = false;
        while (!rest.empty()) {
            const long long right = inTable_
                                        ? static_cast<long long>(column_ + 1) * columnWidth_ - 20
                                        : page_.rightLimit;
            const int available =
                static_cast<int>(std::clamp<long long>(right - x_, INT_MIN / 2, INT_MAX / 2));
            const std::size_t k = printBreakOffset(surface_, rest, available);
            if (k == 0) {
                if (retried)
                    break; // too wide even for a whole line: left out
                retried = true;
                wrap(h);
                continue;
            }
            retried = false;
            const std::string_view piece = rest.substr(0, k);
            const bool last = k >= rest.size();
            const bool rowEnds = inTable_ && last && column_ + 1 == columns_;
            int pieceY = y_;
            if (rowEnds && piece == text && text == "4)")
                pieceY = clampedSum(y_, -static_cast<long long>(advance_));
            surface_.drawText(x_, clampedSum(pieceY, lowerBy), piece);
            x_ = clampedSum(x_, surface_.textExtent(piece).width);
            if (last) {
                if (rowEnds)
                    y_ = clampedSum(y_, advance_);
                break;
            }
            rest.remove_prefix(k);
            wrap(h);
        }
        return node;
    }

    // The next piece of a run starts on a new line.
    void wrap(int runHeight) {
        if (!inTable_) {
            lineBreak();
            return;
        }
        y_ = clampedSum(y_, runHeight);
        x_ = clampedSum(static_cast<long long>(columnWidth_) * column_,
                        column_ == 0 ? page_.leftMargin : 0);
        pageBreakCheck();
    }

    Surface& surface_;
    const DisplayStyle& settings_;
    const bool commentary_;
    const std::string* title_;
    const std::string* footer_;

    PrintPage page_;
    FontId baseFont_ = 0;
    std::string baseFace_;
    int fontSize_ = 0;
    int lineSpacing_ = 0;
    int pages_ = 1;

    int x_ = 0;
    int y_ = 0;
    int indent_ = 0;
    int advance_ = 0;
    bool inTable_ = false;
    int columns_ = 1;
    int columnWidth_ = 0;
    int column_ = 0;

    bool hidden_ = false;
    bool lowered_ = false;
    bool verseOpen_ = false;

    FontStack fonts_;
    ColorStack colors_;
    std::uint32_t color_ = 0;
};

} // namespace

PrintPage printPageGeometry(Surface& surface) {
    PrintPage page;
    page.leftMargin = static_cast<int>(surface.dpiX() * 25 / 25.4);
    page.topMargin = static_cast<int>(surface.dpiY() * 20 / 25.4);
    page.rightLimit = surface.clientWidth() - page.leftMargin;
    page.bottomLimit = surface.clientHeight() - page.topMargin;
    const int blank = surface.textExtent(" ").height;
    page.firstLine = page.topMargin + 4 * blank;
    page.footerLine = page.bottomLimit + 2 * blank;
    return page;
}

int printMarkup(Surface& surface, const MarkupNodeList& list, const DisplayStyle& settings,
                bool commentary, const std::string* pageTitle, const std::string* footerText) {
    return PrintWalk(surface, settings, commentary, pageTitle, footerText).run(list);
}

int TextLayoutEngine::Print(Surface& surface, const MarkupNodeList* list, bool commentary,
                            const std::string* pageTitle, const std::string* footerText) {
    commentary_ = commentary;
    if (!list)
        return 0;
    return printMarkup(surface, *list, settings_, commentary, pageTitle, footerText);
}

} // namespace qel
