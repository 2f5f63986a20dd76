#pragma once

#include <cstdint>
#include <vector>

// The paint pass shared by the rich-text windows: draws laid-out nodes with the colours and
// fonts of their tags and works out which bytes of each selected piece are selected.
namespace qel {

struct DisplayStyle;
class MarkupNodeList;
class Surface;
struct NodeMark;

// Colours of a selected middle part.
constexpr std::uint32_t kSelectionTextColor = 0xFFFFFF;
constexpr std::uint32_t kSelectionBackColor = 0x000008;

struct PaintParameters {
    const DisplayStyle* settings = nullptr;
    int fontSize = 11;      // points, as the layout read it
    int scrollPosition = 0; // subtracted from document y
    int bandTop = 0;        // visible band, document coordinates
    int bandBottom = 0;
    std::uint32_t background = 0xFFFFFF; // behind unselected text
    // The layout gives the commentary edition's verse numbers no room, so they are not
    // drawn either (they would overprint the verse).
    bool commentary = false;
    // Highlighted bytes of text runs, in list order, painted under unselected text.
    const std::vector<NodeMark>* marks = nullptr;
};

// Draws the pieces that meet the band. The surface has the base text font selected and
// ends with it selected again. Selected pieces that are drawn get their byte offsets.
void paintMarkup(Surface& surface, MarkupNodeList& list, const PaintParameters& parameters);

// Gives every selected piece its byte offsets, drawing nothing, so that a copy does not
// depend on which pieces happened to be painted.
void measureSelection(Surface& surface, MarkupNodeList& list, const DisplayStyle& settings,
                      int fontSize, bool commentary);

} // namespace qel
