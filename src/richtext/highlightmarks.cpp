#include "richtext/highlightmarks.h"

#include "platform/codec.h"
#include "richtext/markupnode.h"

#include <algorithm>
#include <string_view>

namespace qel {
namespace {

bool isVerseTag(const MarkupNode* node) {
    return node->GetID() == 'S' && node->attribute("VAL");
}

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

void markRun(const MarkupNode& node, int first, const std::vector<const VerseSpan*>& spans,
             std::vector<NodeMark>& marks) {
    const std::string_view text = node.text;
    const int last = first + charactersIn(text, text.size());
    for (const VerseSpan* span : spans) {
        if (span->end <= first || span->start >= last)
            continue;
        const int from = byteOf(text, first, std::max(span->start, first));
        const int to = byteOf(text, first, std::min(span->end, last));
        if (from < to)
            marks.push_back({&node, from, to, span->colour});
    }
}

} // namespace

const std::uint32_t* lightHighlightColours() {
    static const std::uint32_t colours[kHighlightColourCount] = {0xFFF176, 0xB9F6CA, 0xB3E5FC,
                                                                 0xF8BBD0, 0xFFCC80};
    return colours;
}

const std::uint32_t* darkHighlightColours() {
    static const std::uint32_t colours[kHighlightColourCount] = {0x6B5E00, 0x1E5631, 0x1B4F72,
                                                                 0x6E2346, 0x7A4100};
    return colours;
}

const std::uint32_t* highlightColoursFor(std::uint32_t background) {
    const int r = (background >> 16) & 0xFF, g = (background >> 8) & 0xFF, b = background & 0xFF;
    return (r * 299 + g * 587 + b * 114) / 1000 < 128 ? darkHighlightColours()
                                                      : lightHighlightColours();
}

std::vector<NodeMark> markVerses(const MarkupNodeList& list, const std::vector<VerseSpan>& spans) {
    std::vector<NodeMark> marks;
    if (spans.empty())
        return marks;
    std::vector<const VerseSpan*> current;
    int character = 0;
    for (const MarkupNode* node = list.head(); node; node = node->next()) {
        if (isVerseTag(node)) {
            const std::string& verse = *node->attribute("VAL");
            current.clear();
            for (const VerseSpan& span : spans)
                if (span.verse == verse && span.colour >= 1 && span.colour <= kHighlightColourCount)
                    current.push_back(&span);
            character = 0;
        } else if (node->isText()) {
            if (!current.empty())
                markRun(*node, character, current, marks);
            character += charactersIn(node->text, node->text.size());
        }
    }
    return marks;
}

std::optional<VersePosition> versePosition(const MarkupNode* node, int byteOffset) {
    if (!node)
        return std::nullopt;
    int character =
        node->isText() ? charactersIn(node->text, static_cast<std::size_t>(std::max(byteOffset, 0)))
                       : 0;
    for (const MarkupNode* n = node->prev(); n; n = n->prev()) {
        if (isVerseTag(n))
            return VersePosition{*n->attribute("VAL"), character};
        if (n->isText())
            character += charactersIn(n->text, n->text.size());
    }
    return std::nullopt;
}

} // namespace qel
