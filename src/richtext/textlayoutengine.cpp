#include "richtext/textlayoutengine.h"

#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/messagesink.h"
#include "richtext/highlightmarks.h"
#include "richtext/markupnode.h"
#include "richtext/surface.h"

#include <algorithm>
#include <climits>

namespace qel {
namespace {

constexpr int kTopOfDocument = 10;

} // namespace

// The running state of one layout pass.
struct TextLayoutEngine::Pass {
    TextLayoutEngine& engine;
    Surface& surface;
    const int leftMargin;
    int fontSize = 0;
    int lineSpacing = 0;
    int viewMode = 1;
    std::string baseFace;
    int baseHeight = 0;
    int rightLimit = 0;

    int y = kTopOfDocument;
    int x = 0;
    int indent = 0;
    int advance = 0;

    bool inTable = false;
    int columns = 1;
    int columnWidth = 0;
    int column = 0;

    bool insideA = false;
    bool insideD = false;
    bool insideN = false;
    bool verseHidden = false;
    bool verseOpen = false;

    FontStack fonts;
    VerseLookAhead verseLookAhead;
    // The last piece on the line ends inside a word, so the line cannot break after it.
    bool wordOpen = false;

    Pass(TextLayoutEngine& e, Surface& s, int left) : engine(e), surface(s), leftMargin(left) {}

    int lineStart() const { return clampedSum(leftMargin, indent); }
    bool atLineStart() const { return x == leftMargin || x == lineStart(); }

    void lineBreak() {
        if (!atLineStart())
            y = clampedSum(y, advance);
        x = lineStart();
        wordOpen = false;
    }

    void start() {
        fontSize = engine.fontSize();
        lineSpacing = engine.lineSpacing();
        viewMode = engine.settings_.viewMode;
        baseFace = surface.fontDescription().face;
        const TextExtent blank = surface.textExtent(" ");
        baseHeight = blank.height;
        const int s = blank.width;
        const int width = std::max(surface.clientWidth(), 10 * s);
        rightLimit = width - (10 * s) / 4;
        if (rightLimit < leftMargin)
            rightLimit = clampedSum(leftMargin, (10 * s) / 4);
        x = leftMargin;
    }

    void report(char id) {
        std::string text = "error in ReSize by the node->GetID() [";
        text += id == 0 ? '0' : id;
        text += ']';
        if (engine.report_)
            engine.report_(text);
    }

    MarkupNode* layoutNode(MarkupNode* node) {
        node->selected = false;
        switch (node->GetID()) {
        case MarkupNode::kText:
            return layoutText(node);
        case 'A':
            insideA = true;
            break;
        case 'a':
            insideA = false;
            break;
        case 'B':
        case 'r':
            lineBreak();
            break;
        case 'C':
        case 'W':
        case 's':
        case 'w':
            break;
        case 'D':
            verseNumber(node);
            break;
        case 'F':
            fonts.push(surface,
                       surface.createFont(tagFontRequest(surface, *node, FontPitch::Variable)));
            break;
        case 'H':
            lineBreak();
            fonts.push(surface, surface.createFont(
                                    headingFontRequest(*node, surface.dpiY(), fontSize, baseFace)));
            break;
        case 'I': {
            const std::string* value = firstAttributeValue(*node);
            const long long blank = surface.textExtent(" ").width;
            indent = value ? clampedSum(blank * markupInt(*value), 0) : 0;
            lineBreak();
            break;
        }
        case 'i':
            indent = 0;
            lineBreak();
            break;
        case 'N':
            insideN = true;
            break;
        case 'n':
            insideN = false;
            break;
        case 'R':
            lineBreak();
            column = 0;
            break;
        case 'S':
            node->top = y;
            engine.anchors_.add(node);
            break;
        case 'T': {
            lineBreak();
            if (const std::string* value = firstAttributeValue(*node))
                columns = markupInt(*value);
            columns = std::max(columns, 1);
            inTable = true;
            columnWidth = (rightLimit - leftMargin) / columns;
            break;
        }
        case 't':
            lineBreak();
            columns = 1;
            inTable = false;
            break;
        case 'c':
            if (++column >= columns)
                column = 0;
            x = clampedSum(static_cast<long long>(columnWidth) * column, leftMargin);
            break;
        case 'd':
            if (!engine.commentary_ && viewMode != 2)
                fonts.pop(surface);
            insideD = verseHidden = verseOpen = false;
            break;
        case 'f':
            fonts.pop(surface);
            verseOpen = false;
            break;
        case 'h':
            fonts.pop(surface);
            lineBreak();
            break;
        default:
            report(node->GetID());
            break;
        }
        return node;
    }

    void verseNumber(MarkupNode* node) {
        insideD = verseHidden = true;
        wordOpen = false;
        if (engine.commentary_ || viewMode == 2)
            return;
        if (viewMode == 0)
            lineBreak();
        fonts.push(surface,
                   surface.createFont(verseNumberFontRequest(surface.dpiY(), fontSize, baseFace)));
        verseHidden = false;
        if (verseLookAhead.breaksLine(surface, *node, x, rightLimit))
            lineBreak();
        verseOpen = true;
    }

    MarkupNode* layoutText(MarkupNode* node) {
        if (verseOpen && (node->text.empty() || node->text.back() != ' '))
            node->text += ' ';
        if (inTable) {
            while (node->next() && node->next()->isText())
                mergeWithNext(node);
            node = layoutTableText(node);
        } else {
            node = layoutFlowText(node);
        }
        recordHotSpot(node);
        return node;
    }

    // Measures the run and fills in what every piece gets; returns its height.
    int measureRun(MarkupNode* node, int& width) {
        const TextExtent extent = surface.textExtent(node->text);
        width = extent.width;
        const int h = std::max(extent.height, baseHeight);
        advance = static_cast<int>(static_cast<long long>(lineSpacing) * h / 100);
        node->lineAdvance = advance;
        node->top = y;
        node->left = x;
        return h;
    }

    // A line may break before `text` when the line holds something and the text does not
    // go on with a word of the piece before it.
    bool canBreakBefore(const std::string& text) const {
        return !atLineStart() && !(wordOpen && !text.empty() &&
                                   isScreenWordByte(static_cast<unsigned char>(text[0])));
    }

    static constexpr std::size_t kWholeRun = std::string::npos;

    // Where the run breaks so that no word is cut at its end or at the end of the line:
    // kWholeRun when it stays on the line as it is, 0 when the line must break before it,
    // else the length of the piece that ends the line.
    std::size_t flowBreak(MarkupNode* node, int width) {
        const std::string& text = node->text;
        const long long room = static_cast<long long>(rightLimit) - x - width;
        if (room >= 0) {
            if (text.empty() || !isScreenWordByte(static_cast<unsigned char>(text.back())) ||
                runOnWidth(surface, node->next(), fonts, FontPitch::Variable, isScreenWordByte,
                           static_cast<int>(room)) <= room)
                return kWholeRun;
            // The word running on into the next runs does not fit: it moves to the next
            // line, unless it is wider than a whole line and has to be cut anyway.
            if (const std::size_t k = lastScreenWordBreak(text); k > 0)
                return k;
            return canBreakBefore(text) ? 0 : kWholeRun;
        }
        if (const std::size_t k = screenWordBreak(surface, text, rightLimit - x); k > 0)
            return k;
        return canBreakBefore(text) ? 0 : screenBreakOffset(surface, text, rightLimit - x);
    }

    MarkupNode* layoutFlowText(MarkupNode* node) {
        for (;;) {
            if (x >= rightLimit)
                lineBreak();
            const int lineAdvance = advance;
            int width = 0;
            const int h = measureRun(node, width);
            if (verseHidden) {
                node->right = x;
                node->bottom = clampedSum(y, h);
                return node;
            }
            if (static_cast<long long>(x) + width <= rightLimit && node->next() &&
                node->next()->isText()) {
                mergeWithNext(node);
                continue;
            }
            const std::size_t k = flowBreak(node, width);
            if (k == 0) {
                // The run starts with a word that does not fit after the line's last piece:
                // the word starts the next line, which the last piece's advance ends.
                advance = lineAdvance;
                lineBreak();
                continue;
            }
            if (k == kWholeRun) {
                node->right = clampedSum(x, width);
                node->bottom = clampedSum(y, h);
                x = node->right;
                wordOpen = !node->text.empty() &&
                           isScreenWordByte(static_cast<unsigned char>(node->text.back()));
                return node;
            }
            splitAt(node, k);
            const int pieceWidth = surface.textExtent(node->text).width;
            node->right = clampedSum(x, pieceWidth);
            node->bottom = clampedSum(y, h);
            if (node->right != leftMargin && node->right != lineStart())
                y = clampedSum(y, advance);
            x = lineStart();
            wordOpen = false;
            return node;
        }
    }

    MarkupNode* layoutTableText(MarkupNode* node) {
        const long long cellRight = static_cast<long long>(column + 1) * columnWidth;
        for (;;) {
            int width = 0;
            const int h = measureRun(node, width);
            if (verseHidden) {
                node->right = x;
                node->bottom = clampedSum(y, h);
                return node;
            }
            if (node->left + static_cast<long long>(width) < cellRight - 40) {
                node->right = clampedSum(node->left, width);
                node->bottom = clampedSum(y, h);
                x = node->right;
                if (column + 1 == columns) {
                    const RowEnd end = rowEnd(node->text, advance);
                    node->top = clampedSum(y, end.pieceShift);
                    y = clampedSum(y, end.advance);
                }
                return node;
            }
            const int available = static_cast<int>(
                std::clamp<long long>(cellRight - node->left - 20, INT_MIN / 2, INT_MAX / 2));
            const std::size_t k = screenBreakOffset(surface, node->text, available);
            const std::size_t length = node->text.size();
            const int pieceWidth =
                surface.textExtent(std::string_view(node->text).substr(0, k)).width;
            node->right = clampedSum(node->left, pieceWidth);
            node->bottom = clampedSum(y, h);
            y = clampedSum(y, h);
            x = clampedSum(static_cast<long long>(columnWidth) * column, column == 0 ? 40 : 0);
            if (k >= length)
                return node;
            node = splitAt(node, k);
        }
    }

    void recordHotSpot(MarkupNode* node) {
        if (insideA && !engine.links_.full())
            engine.links_.add(node);
        else if (insideD && !engine.verseNumbers_.full())
            engine.verseNumbers_.add(node);
        else if (insideN && !engine.footnotes_.full())
            engine.footnotes_.add(node);
        insideA = insideD = insideN = false;
    }
};

TextLayoutEngine::TextLayoutEngine(const DisplayStyle& settings)
    : settings_(settings),
      report_([](const std::string& text) { showMessage(text, applicationTitle()); }) {}

int TextLayoutEngine::fontSize() const {
    return settings_.fontSize;
}

int TextLayoutEngine::lineSpacing() const {
    return settings_.lineSpacing;
}

void TextLayoutEngine::reset() {
    links_.clear();
    verseNumbers_.clear();
    footnotes_.clear();
    anchors_.clear();
}

int TextLayoutEngine::ReSize(Surface& surface, int leftMargin, MarkupNodeList* list,
                             bool commentary, VerseMarker* marker) {
    commentary_ = commentary;
    if (!list)
        return kTopOfDocument;
    reset();
    Pass pass(*this, surface, leftMargin);
    pass.start();
    if (marker) {
        // The node layoutNode returns is final: later nodes never merge into it.
        for (MarkupNode* node = list->head(); node;) {
            node = pass.layoutNode(node);
            marker->see(*node);
            node = node->next();
        }
    } else {
        for (MarkupNode* node = list->head(); node;)
            node = pass.layoutNode(node)->next();
    }
    pass.fonts.restoreAll(surface);
    return clampedSum(pass.y, pass.advance);
}

} // namespace qel
