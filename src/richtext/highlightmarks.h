#pragma once

#include "richtext/markupnode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Highlights of verses placed on the laid-out text runs of a chapter. A verse starts at its
// S tag; its characters are those of the text runs up to the next S tag, a double-byte
// character counting as one, so a span stays on its words whatever the lines or the font.
namespace qel {

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

// Places the marks on a list's nodes given one at a time in list order, so that the layout
// can mark each run as it finishes it. The spans must outlive the marker.
class VerseMarker {
public:
    VerseMarker() = default;
    explicit VerseMarker(const std::vector<HighlightSpan>& spans) { start(spans); }
    // Starts over for these spans. The storage of the last marks is kept: a chapter laid
    // out again needs about as much, and large allocations are slow after a list is freed.
    void start(const std::vector<HighlightSpan>& spans);
    void see(const MarkupNode& node) {
        // Inline, as the layout calls it for every node: runs of verses without spans are
        // passed over until the next verse tag.
        if (current_ || node.GetID() == 'S')
            seeInVerse(node);
    }
    // Marks every node of the list, which must be laid out already.
    void markList(const MarkupNodeList& list);
    const std::vector<NodeMark>& marks() const { return marks_; }
    std::vector<NodeMark> take() { return std::move(marks_); }

    // The spans of one verse, in their order, and the last character offset where one starts
    // or ends before the verse's end.
    struct VerseSpans {
        std::string_view verse;
        const HighlightSpan* const* begin;
        const HighlightSpan* const* end;
        int lastEdge = 0;
    };

    // Verse numbers (D), footnote marks (N) and headings (H) are not the verse's words: they
    // change with the view mode, so they are not counted.
    class WordRuns {
    public:
        void see(const MarkupNode& node);
        bool counts(const MarkupNode& node) const;
        void reset() { depth_ = 0; }

    private:
        int depth_ = 0;
    };

private:
    void seeInVerse(const MarkupNode& node);

    std::vector<const HighlightSpan*> usable_;
    std::vector<VerseSpans> verses_;
    std::vector<NodeMark> marks_;
    const VerseSpans* current_ = nullptr;
    std::size_t next_ = 0;
    int character_ = 0;
    WordRuns words_;
};

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
