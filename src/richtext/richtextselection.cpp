#include "richtext/richtextselection.h"

#include "richtext/layoutrules.h"
#include "richtext/markupnode.h"
#include "richtext/textlayoutengine.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace qel {
namespace {

bool strictlyInside(const MarkupNode& node, int x, int y) {
    return node.top < y && y < node.bottom && node.left < x && x < node.right;
}

void appendLineEnd(std::string& text) {
    if (!text.ends_with("\r\n"))
        text += "\r\n";
}

int columnCount(const MarkupNode& table) {
    const std::string* value = firstAttributeValue(table);
    return value ? std::max(markupInt(*value), 1) : 1;
}

// Table state at `start`, so a selection that begins inside a table still separates its
// cells: the columns of the table around it and the cell it begins in.
void tableStateBefore(const MarkupNode* start, int& columns, int& column) {
    columns = 1;
    column = 0;
    bool rowFound = false;
    for (const MarkupNode* n = start->prev(); n; n = n->prev()) {
        const char id = n->GetID();
        if (id == 't')
            return;
        if (id == 'T') {
            columns = columnCount(*n);
            column %= columns;
            return;
        }
        if (id == 'R')
            rowFound = true;
        else if (id == 'c' && !rowFound)
            ++column;
    }
    column = 0;
}

} // namespace

MarkupNode* hitHotSpot(MarkupNode* const* begin, MarkupNode* const* end, int x, int y) {
    for (MarkupNode* const* it = begin; it != end; ++it)
        if (*it && strictlyInside(**it, x, y))
            return *it;
    return nullptr;
}

MarkupNode* hitHotSpot(const HotSpotTable& table, int x, int y) {
    return hitHotSpot(table.begin(), table.end(), x, y);
}

MarkupNode* hitPiece(const MarkupNodeList& list, int x, int y) {
    for (MarkupNode* n = list.head(); n; n = n->next()) {
        if (!n->isText())
            continue;
        if (n->top > y)
            return nullptr;
        if (n->top <= y && y <= n->bottom && n->left <= x && x <= n->right)
            return n;
    }
    return nullptr;
}

MarkupNode* selectionStartPiece(const MarkupNodeList& list, int x, int y) {
    if (MarkupNode* exact = hitPiece(list, x, y))
        return exact;
    MarkupNode* first = nullptr;
    for (MarkupNode* n = list.head(); n && !first; n = n->next())
        if (n->isText() && n->bottom >= y)
            first = n;
    if (!first || first->top >= y)
        return first;
    for (MarkupNode* n = first; n; n = n->next())
        if (n->isText() && (n->right >= x || n->top >= y))
            return n;
    return nullptr;
}

MarkupNode* selectionEndPiece(const MarkupNodeList& list, int x, int y) {
    if (MarkupNode* exact = hitPiece(list, x, y))
        return exact;
    MarkupNode* last = nullptr;
    for (MarkupNode* n = list.head(); n; n = n->next())
        if (n->isText() && n->top < y)
            last = n;
    if (!last || (last->bottom <= y && last->right <= x))
        return last;
    for (MarkupNode* n = last; n; n = n->prev())
        if (n->isText() && n->left <= x)
            return n;
    return nullptr;
}

std::optional<SelectionRange> selectBetween(MarkupNodeList& list, int anchorX, int anchorY,
                                            int releaseX, int releaseY) {
    if (anchorX == releaseX && anchorY == releaseY)
        return std::nullopt;
    int xa = anchorX, ya = anchorY, xb = releaseX, yb = releaseY;
    if (yb < ya || (yb == ya && xb < xa)) {
        std::swap(xa, xb);
        std::swap(ya, yb);
    }
    MarkupNode* start = selectionStartPiece(list, xa, ya);
    MarkupNode* end = selectionEndPiece(list, xb, yb);
    if (!start || !end)
        return std::nullopt;
    if (follows(start, end))
        std::swap(start, end);

    if (start != end) {
        start->setSelection(start->top > ya ? start->left : xa, MarkupNode::kSelectToEnd);
        for (MarkupNode* n = start->next(); n && n != end; n = n->next())
            if (n->isText())
                n->setSelection(MarkupNode::kSelectFromStart, MarkupNode::kSelectToEnd);
        end->setSelection(MarkupNode::kSelectFromStart,
                          end->bottom < yb ? MarkupNode::kSelectToEnd : xb);
    } else {
        const int x1 = std::min(xa, xb);
        const int x2 = std::max(xa, xb);
        const int u = std::min(ya, yb);
        start->setSelection(start->top > u ? MarkupNode::kSelectFromStart : x1,
                            start->bottom < u ? MarkupNode::kSelectToEnd : x2);
    }
    return SelectionRange{start, end};
}

std::optional<SelectionRange> selectAllPieces(MarkupNodeList& list) {
    if (list.empty())
        return std::nullopt;
    for (MarkupNode* n = list.head(); n; n = n->next())
        if (n->isText())
            n->setSelection(MarkupNode::kSelectFromStart, MarkupNode::kSelectToEnd);
    return SelectionRange{list.head(), list.tail()};
}

void clearSelectionFlags(MarkupNodeList& list) {
    for (MarkupNode* n = list.head(); n; n = n->next())
        n->selected = false;
}

std::string plainText(const MarkupNode* start, const MarkupNode* end, bool commentary) {
    std::string text;
    if (!start)
        return text;
    const bool wholeList = end == nullptr;
    int columns = 1;
    int column = 0;
    tableStateBefore(start, columns, column);
    bool inVerseNumber = false;
    for (const MarkupNode* n = start; n; n = n->next()) {
        switch (n->GetID()) {
        case MarkupNode::kText: {
            if (commentary && inVerseNumber)
                break;
            if (!wholeList && n->selected) {
                const auto size = static_cast<long long>(n->text.size());
                const long long from = std::clamp<long long>(n->selectStartOffset, 0, size);
                const long long to = std::clamp<long long>(n->selectEndOffset, from, size);
                text.append(n->text, static_cast<std::size_t>(from),
                            static_cast<std::size_t>(to - from));
            } else {
                text += n->text;
            }
            break;
        }
        case 'D':
            inVerseNumber = true;
            appendLineEnd(text);
            break;
        case 'd':
            inVerseNumber = false;
            break;
        case 'T':
            columns = columnCount(*n);
            column = 0;
            appendLineEnd(text);
            break;
        case 't':
            columns = 1;
            column = 0;
            appendLineEnd(text);
            break;
        case 'R':
            column = 0;
            break;
        case 'c':
            if (++column < columns)
                text += '\t';
            else
                column = 0;
            break;
        case 'B':
        case 'H':
        case 'I':
        case 'h':
        case 'i':
        case 'r':
            appendLineEnd(text);
            break;
        default:
            break;
        }
        if (n == end)
            break;
    }
    return text;
}

MarkupNode* verseNumberPieceAt(const MarkupNodeList& list, int x, int y) {
    const MarkupNode* n = hitPiece(list, x, y);
    while (n && n->GetID() != 'D')
        n = n->prev();
    if (!n)
        return nullptr;
    for (MarkupNode* m = n->next(); m; m = m->next())
        if (m->isText())
            return m;
    return nullptr;
}

std::optional<std::size_t> verseIndexAtHeight(const HotSpotTable& verseNumbers, int y,
                                              int scrollPosition, int clientHeight) {
    const std::size_t count = verseNumbers.size();
    if (count == 0)
        return std::nullopt;
    long long i = 0;
    if (y <= verseNumbers[0]->top) {
        i = 0;
    } else if (y >= verseNumbers[count - 1]->top) {
        i = static_cast<long long>(count) - 1;
    } else {
        while (i + 1 < static_cast<long long>(count) && verseNumbers[i + 1]->top <= y)
            ++i;
    }
    if (verseNumbers[i]->top < scrollPosition)
        i = std::min<long long>(i + 1, static_cast<long long>(count) - 1);
    if (static_cast<long long>(verseNumbers[i]->top) + kMarkerHeight >
        static_cast<long long>(scrollPosition) + clientHeight)
        i = std::max<long long>(i - 1, 0);
    return static_cast<std::size_t>(i);
}

std::string verseTextAfter(const MarkupNode* numberPiece) {
    std::string text;
    if (!numberPiece)
        return text;
    for (const MarkupNode* n = numberPiece->next(); n && n->GetID() != 'S'; n = n->next())
        if (n->isText())
            text += n->text;
    return text;
}

} // namespace qel
