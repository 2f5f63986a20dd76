#include "richtext/printpass.h"

#include "richtext/displaystyle.h"
#include "richtext/highlightmarks.h"
#include "richtext/layoutrules.h"
#include "richtext/markupnode.h"
#include "richtext/surface.h"
#include "richtext/textlayoutengine.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace qel {
namespace {

// Printer pixels per unit of an I tag's value.
constexpr int kPrintIndentUnit = 8;

class PrintWalk {
public:
    PrintWalk(Surface& surface, const DisplayStyle& settings, bool commentary,
              const std::string* title, const std::string* footer,
              const std::vector<NodeMark>* marks)
        : surface_(surface), settings_(settings), title_(title), footer_(footer), marks_(marks),
          style_(surface, settings, settings.fontSize, commentary) {}

    int run(const MarkupNodeList& list) {
        page_ = printPageGeometry(surface_);
        baseFont_ = surface_.currentFont();
        lineSpacing_ = settings_.lineSpacing;
        style_.begin();
        x_ = page_.leftMargin;
        y_ = page_.firstLine;
        printTitle();
        for (const MarkupNode* node = list.head(); node; node = node->next())
            node = walk(node);
        printFooter();
        style_.end();
        return pages_;
    }

private:
    int lineStart() const { return clampedSum(page_.leftMargin, indent_); }
    bool atLineStart() const { return x_ == page_.leftMargin || x_ == lineStart(); }

    void lineBreak() {
        if (!atLineStart())
            y_ = clampedSum(y_, advance_);
        x_ = lineStart();
        wordOpen_ = false;
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
        surface_.setTextColor(style_.color());
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

    // Returns the last node consumed.
    const MarkupNode* walk(const MarkupNode* node) {
        switch (node->GetID()) {
        case MarkupNode::kText:
            return printRun(node);
        case 'B':
        case 'r':
            lineBreak();
            break;
        case 'f':
            style_.apply(*node);
            verseOpen_ = false;
            break;
        case 'H':
            lineBreak();
            style_.apply(*node);
            break;
        case 'h':
            style_.apply(*node);
            lineBreak();
            break;
        case 'D':
            verseNumber(node);
            break;
        case 'd':
            style_.apply(*node);
            verseOpen_ = false;
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
            style_.apply(*node);
            break;
        }
        return node;
    }

    void verseNumber(const MarkupNode* node) {
        wordOpen_ = false;
        if (style_.verseNumbersShown() && settings_.viewMode == 0)
            lineBreak();
        style_.apply(*node);
        if (!style_.verseNumbersShown())
            return;
        if (verseLookAhead_.breaksLine(surface_, *node, x_, page_.rightLimit))
            lineBreak();
        verseOpen_ = true;
    }

    // Outside tables, where the rest of a run breaks so that the word running on into the
    // next runs is not cut: the rest's length when it may stay whole, 0 when the line must
    // break before it. (A rest whose last byte overflows still counts as fitting when no
    // word runs on from it.)
    std::size_t runOnBreak(std::string_view rest, const MarkupNode* next, int available) {
        if (inTable_ || !isPrintWordByte(static_cast<unsigned char>(rest.back())))
            return rest.size();
        const long long room = static_cast<long long>(available) - surface_.textExtent(rest).width;
        const int runOn = runOnWidth(surface_, next, fonts(), FontPitch::Default, isPrintWordByte,
                                     static_cast<int>(std::max<long long>(room, 0)));
        if (runOn == 0 || runOn <= room)
            return rest.size();
        if (const std::size_t k = lastPrintWordBreak(rest); k > 0)
            return k;
        const bool continuesWord =
            wordOpen_ && isPrintWordByte(static_cast<unsigned char>(rest.front()));
        return atLineStart() || continuesWord ? rest.size() : 0;
    }

    // The marks of a run joined into the printed text, which starts at byte `offset`. The
    // cursor follows the list, as the marks do.
    void takeMarks(const MarkupNode* node, std::size_t offset) {
        for (; marks_ && markCursor_ < marks_->size() && (*marks_)[markCursor_].node == node;
             ++markCursor_) {
            const NodeMark& mark = (*marks_)[markCursor_];
            runMarks_.push_back({offset + static_cast<std::size_t>(mark.byteStart),
                                 offset + static_cast<std::size_t>(mark.byteEnd), mark.colour});
        }
    }

    // Paper is light whatever the screen's colours, so the light set is used.
    void fillMarks(std::string_view text, std::size_t pieceStart, std::size_t pieceEnd, int y,
                   int height) {
        for (const RunMark& mark : runMarks_) {
            const std::size_t from = std::max(mark.start, pieceStart);
            const std::size_t to = std::min(mark.end, pieceEnd);
            if (from >= to)
                continue;
            const int x = clampedSum(
                x_, surface_.textExtent(text.substr(pieceStart, from - pieceStart)).width);
            surface_.fillRect(x, y, surface_.textExtent(text.substr(from, to - from)).width, height,
                              lightHighlightColours()[mark.colour - 1]);
        }
    }

    const MarkupNode* printRun(const MarkupNode* node) {
        runMarks_.clear();
        std::string text = node->text;
        takeMarks(node, 0);
        while (node->next() && node->next()->isText()) {
            node = node->next();
            takeMarks(node, text.size());
            text += node->text;
        }
        if (style_.hidden())
            return node;
        if (verseOpen_ && (text.empty() || text.back() != ' '))
            text += ' ';
        const int h = surface_.textExtent(text).height;
        advance_ = static_cast<int>(static_cast<long long>(lineSpacing_) * h / 100);
        const int lowerBy = style_.lowered() ? h / 5 : 0;

        std::string_view rest = text;
        bool retried = false;
        while (!rest.empty()) {
            const long long right = inTable_
                                        ? static_cast<long long>(column_ + 1) * columnWidth_ - 20
                                        : page_.rightLimit;
            const int available =
                static_cast<int>(std::clamp<long long>(right - x_, INT_MIN / 2, INT_MAX / 2));
            std::size_t k = printBreakOffset(surface_, rest, available);
            if (k == 0) {
                if (retried)
                    break; // too wide even for a whole line: left out
                retried = true;
                wrap(h);
                continue;
            }
            retried = false;
            if (k >= rest.size()) {
                k = runOnBreak(rest, node->next(), available);
                if (k == 0) {
                    wrap(h);
                    continue;
                }
            }
            const std::string_view piece = rest.substr(0, k);
            const bool last = k >= rest.size();
            const bool rowEnds = inTable_ && last && column_ + 1 == columns_;
            const RowEnd end = rowEnds ? rowEnd(piece, advance_) : RowEnd{0, 0};
            const int top = clampedSum(clampedSum(y_, end.pieceShift), lowerBy);
            const auto pieceStart = static_cast<std::size_t>(piece.data() - text.data());
            fillMarks(text, pieceStart, pieceStart + k, top, h);
            surface_.drawText(x_, top, piece);
            x_ = clampedSum(x_, surface_.textExtent(piece).width);
            wordOpen_ = isPrintWordByte(static_cast<unsigned char>(piece.back()));
            if (last) {
                y_ = clampedSum(y_, end.advance);
                break;
            }
            rest.remove_prefix(k);
            wrap(h);
        }
        return node;
    }

    const FontStack& fonts() const { return style_.fonts(); }

    // The next piece of a run starts on a new line.
    void wrap(int runHeight) {
        if (!inTable_) {
            lineBreak();
            return;
        }
        y_ = clampedSum(y_, runHeight);
        x_ = clampedSum(static_cast<long long>(columnWidth_) * column_,
                        column_ == 0 ? page_.leftMargin : 0);
        wordOpen_ = false;
        pageBreakCheck();
    }

    Surface& surface_;
    const DisplayStyle& settings_;
    const std::string* title_;
    const std::string* footer_;
    const std::vector<NodeMark>* marks_;
    std::size_t markCursor_ = 0;
    // The highlighted bytes of the run being printed, in its joined text.
    struct RunMark {
        std::size_t start;
        std::size_t end;
        int colour;
    };
    std::vector<RunMark> runMarks_;

    PrintPage page_;
    FontId baseFont_ = 0;
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

    bool verseOpen_ = false;
    // The last piece printed on the line ends inside a word.
    bool wordOpen_ = false;

    TagStyle style_;
    VerseLookAhead verseLookAhead_;
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
                bool commentary, const std::string* pageTitle, const std::string* footerText,
                const std::vector<NodeMark>* marks) {
    return PrintWalk(surface, settings, commentary, pageTitle, footerText, marks).run(list);
}

int TextLayoutEngine::Print(Surface& surface, const MarkupNodeList* list, bool commentary,
                            const std::string* pageTitle, const std::string* footerText,
                            const std::vector<NodeMark>* marks) {
    commentary_ = commentary;
    if (!list)
        return 0;
    return printMarkup(surface, *list, settings_, commentary, pageTitle, footerText, marks);
}

} // namespace qel
