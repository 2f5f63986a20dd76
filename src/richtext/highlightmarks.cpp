#include "richtext/highlightmarks.h"

#include "platform/codec.h"
#include "richtext/markupnode.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace qel {
namespace {

bool isVerseTag(const MarkupNode* node) {
    return node->GetID() == 'S' && node->attribute("VAL");
}

// Verse numbers (D), footnote marks (N) and headings (H) are not the verse's words: they
// change with the view mode, so they are not counted.
class WordRuns {
public:
    void see(const MarkupNode& node) {
        switch (node.GetID()) {
        case 'D':
        case 'N':
        case 'H':
            ++depth_;
            break;
        case 'd':
        case 'n':
        case 'h':
            depth_ = depth_ > 0 ? depth_ - 1 : 0;
            break;
        default:
            break;
        }
    }
    bool counts(const MarkupNode& node) const { return node.isText() && depth_ == 0; }
    void reset() { depth_ = 0; }

private:
    int depth_ = 0;
};

// Characters in text[0, bytes).
int charactersIn(std::string_view text, std::size_t bytes) {
    int count = 0;
    for (std::size_t i = 0; i < bytes && i < text.size(); i += characterLength(text, i))
        ++count;
    return count;
}

// Byte offset of character `character` of the text, counting from the run's first
// character `first`; clamped to the run.
int byteOf(std::string_view text, int first, int character) {
    std::size_t i = 0;
    for (int c = first; c < character && i < text.size(); ++c)
        i += characterLength(text, i);
    return static_cast<int>(std::min(i, text.size()));
}

void markRun(const MarkupNode& node, int first, const std::vector<const HighlightSpan*>& spans,
             std::vector<NodeMark>& marks) {
    const std::string_view text = node.text;
    const int last = first + charactersIn(text, text.size());
    for (const HighlightSpan* span : spans) {
        if (span->end <= first || span->start >= last)
            continue;
        const int from = byteOf(text, first, std::max(span->start, first));
        const int to = byteOf(text, first, std::min(span->end, last));
        if (from < to)
            marks.push_back({&node, from, to, span->colour});
    }
}

} // namespace

// Colours are 0x00BBGGRR, as the surface takes them.
const std::uint32_t* lightHighlightColours() {
    static const std::uint32_t colours[kHighlightColourCount] = {0x76F1FF, 0xCAF6B9, 0xFCE5B3,
                                                                 0xD0BBF8, 0x80CCFF};
    return colours;
}

const std::uint32_t* darkHighlightColours() {
    static const std::uint32_t colours[kHighlightColourCount] = {0x005E6B, 0x31561E, 0x724F1B,
                                                                 0x46236E, 0x00417A};
    return colours;
}

const std::uint32_t* highlightColoursFor(std::uint32_t background) {
    const int r = background & 0xFF, g = (background >> 8) & 0xFF, b = (background >> 16) & 0xFF;
    return (r * 299 + g * 587 + b * 114) / 1000 < 128 ? darkHighlightColours()
                                                      : lightHighlightColours();
}

std::vector<NodeMark> markVerses(const MarkupNodeList& list,
                                 const std::vector<HighlightSpan>& spans) {
    std::vector<NodeMark> marks;
    if (spans.empty())
        return marks;
    // Looked up once per verse tag, not once per span.
    std::unordered_map<std::string_view, std::vector<const HighlightSpan*>> byVerse;
    for (const HighlightSpan& span : spans)
        if (span.colour >= 1 && span.colour <= kHighlightColourCount)
            byVerse[span.verse].push_back(&span);
    const std::vector<const HighlightSpan*>* current = nullptr;
    int character = 0;
    WordRuns words;
    for (const MarkupNode* node = list.head(); node; node = node->next()) {
        words.see(*node);
        if (isVerseTag(node)) {
            const auto found = byVerse.find(*node->attribute("VAL"));
            current = found == byVerse.end() ? nullptr : &found->second;
            character = 0;
        } else if (current && words.counts(*node)) {
            markRun(*node, character, *current, marks);
            character += charactersIn(node->text, node->text.size());
        }
    }
    return marks;
}

std::optional<VersePosition> versePosition(const MarkupNode* node, int byteOffset) {
    const MarkupNode* tag = node;
    while (tag && !isVerseTag(tag))
        tag = tag->prev();
    if (!node || !tag)
        return std::nullopt;
    WordRuns words;
    int character = 0;
    for (const MarkupNode* n = tag->next(); n && n != node; n = n->next()) {
        words.see(*n);
        if (words.counts(*n))
            character += charactersIn(n->text, n->text.size());
    }
    words.see(*node);
    if (words.counts(*node))
        character += charactersIn(node->text, static_cast<std::size_t>(std::max(byteOffset, 0)));
    return VersePosition{*tag->attribute("VAL"), character};
}

std::vector<HighlightSpan> selectedSpans(const MarkupNodeList& list) {
    std::vector<HighlightSpan> spans;
    for (const MarkupNode* node = list.head(); node; node = node->next()) {
        if (!node->isText() || !node->selected || node->selectEndOffset <= node->selectStartOffset)
            continue;
        const auto from = versePosition(node, node->selectStartOffset);
        const auto to = versePosition(node, node->selectEndOffset);
        if (!from || !to)
            continue;
        if (!spans.empty() && spans.back().verse == from->verse)
            spans.back().end = to->character;
        else
            spans.push_back({from->verse, from->character, to->character, 0});
    }
    return spans;
}

} // namespace qel
