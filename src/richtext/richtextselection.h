#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Pointing, selecting and copying in laid-out markup, shared by the rich-text windows. All
// points are document coordinates (window y plus the scroll position).
namespace qel {

class HotSpotTable;
class MarkupNode;
class MarkupNodeList;

// The first entry whose box strictly contains the point.
MarkupNode* hitHotSpot(MarkupNode* const* begin, MarkupNode* const* end, int x, int y);
MarkupNode* hitHotSpot(const HotSpotTable& table, int x, int y);

// The text piece under the point, box edges included.
MarkupNode* hitPiece(const MarkupNodeList& list, int x, int y);
// The piece where a selection starting (or ending) at the point begins (or ends).
MarkupNode* selectionStartPiece(const MarkupNodeList& list, int x, int y);
MarkupNode* selectionEndPiece(const MarkupNodeList& list, int x, int y);

struct SelectionRange {
    MarkupNode* start = nullptr;
    MarkupNode* end = nullptr;
};

// Marks the pieces between the anchor and the release point, in whichever order they were
// given. Nothing is marked when the two points find no text.
std::optional<SelectionRange> selectBetween(MarkupNodeList& list, int anchorX, int anchorY,
                                            int releaseX, int releaseY);
// Every text piece, whole.
std::optional<SelectionRange> selectAllPieces(MarkupNodeList& list);
void clearSelectionFlags(MarkupNodeList& list);

// Plain text (CP949) from `start` to `end` inclusive: selected pieces give their selected
// bytes, line tags give CR LF, table cells are separated by tabs. Without `end` the whole
// rest of the list is taken, selection or not. The commentary edition leaves verse numbers
// out.
std::string plainText(const MarkupNode* start, const MarkupNode* end, bool commentary);

// Verse at a point: the verse-number piece of the verse whose text lies under the point.
MarkupNode* verseNumberPieceAt(const MarkupNodeList& list, int x, int y);
// Verse at a height: the index in the verse number table of the verse to mark when the
// line at `y` is current and the view shows scroll … scroll + clientHeight.
std::optional<std::size_t> verseIndexAtHeight(const HotSpotTable& verseNumbers, int y,
                                              int scrollPosition, int clientHeight);
// The text runs after a verse number up to the next verse anchor, joined.
std::string verseTextAfter(const MarkupNode* numberPiece);

// Height of the current-verse marker, used when deciding whether it is in view.
constexpr int kMarkerHeight = 11;

} // namespace qel
