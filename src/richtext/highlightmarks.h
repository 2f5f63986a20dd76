#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Highlights of verses placed on the laid-out text runs of a chapter. A verse starts at its
// S tag; its characters are those of the text runs up to the next S tag, a double-byte
// character counting as one, so a span stays on its words whatever the lines or the font.
namespace qel {

class MarkupNode;
class MarkupNodeList;

struct HighlightSpan {
    std::string verse; // the S tag's VAL
    int start = 0;     // characters, end exclusive
    int end = 0;
    int colour = 1; // 1..kHighlightColourCount
};

// The bytes of one text run to paint in a colour; in the order of the list.
struct NodeMark {
    const MarkupNode* node = nullptr;
    int byteStart = 0;
    int byteEnd = 0;
    int colour = 1;
};

inline constexpr int kHighlightColourCount = 5;
// The end of a span that covers its verse to the last character.
inline constexpr int kWholeVerseSpan = 1 << 30;

// Background colours (0x00BBGGRR, as the surface takes them) of the five highlight colours on a
// light page: yellow, green, blue, pink, orange, pale enough that black text stays readable.
const std::uint32_t* lightHighlightColours();
// The same colours, dark enough that light text on a dark page stays readable.
const std::uint32_t* darkHighlightColours();
// The set for a page of this background colour.
const std::uint32_t* highlightColoursFor(std::uint32_t background);

// Marks for the spans; runs split by the layout are each marked for their own bytes.
std::vector<NodeMark> markVerses(const MarkupNodeList& list,
                                 const std::vector<HighlightSpan>& spans);

// The verse and character offset of a byte of a text run, or nothing before the first verse.
struct VersePosition {
    std::string verse;
    int character = 0;
};
std::optional<VersePosition> versePosition(const MarkupNode* node, int byteOffset);

// The characters that spans count in `list`: its text outside verse numbers, footnote marks
// and headings.
std::string countedText(const MarkupNodeList& list);

// The verse spans of the selected bytes of the list (after the paint pass measured them),
// one per verse, colour 0.
std::vector<HighlightSpan> selectedSpans(const MarkupNodeList& list);

} // namespace qel
