#include "richtext/highlightmarks.h"

#include "platform/codec.h"
#include "richtext/markupnode.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace qel {
namespace {

// The verse an S tag starts, or null.
const std::string* verseOf(const MarkupNode* node) {
    if (node->GetID() != 'S')
        return nullptr;
    // A verse tag has just this attribute, first in its chain, where the lookup would find it.
    const MarkupAttribute* first = node->firstAttribute();
    if (first && first->name == "VAL")
        return &first->value;
    return node->attribute("VAL");
}

bool isVerseTag(const MarkupNode* node) {
    return verseOf(node) != nullptr;
}

// True when every byte is a single-byte character: characters and bytes count alike.
bool singleBytes(std::string_view text) {
    unsigned char any = 0;
    for (const char c : text) // no early exit, so that it vectorises
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

} // namespace

void VerseMarker::WordRuns::see(const MarkupNode& node) {
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

bool VerseMarker::WordRuns::counts(const MarkupNode& node) const {
    return node.isText() && depth_ == 0;
}

namespace {

// Characters in text[0, bytes).
int charactersIn(std::string_view text, std::size_t bytes) {
    if (singleBytes(text))
        return static_cast<int>(std::min(bytes, text.size()));
    int count = 0;
    for (std::size_t i = 0; i < bytes && i < text.size(); i += characterLength(text, i))
        ++count;
    return count;
}

// Byte offset of character `character` of the text, counting from the run's first
// character `first`; clamped to the run.
int byteOf(std::string_view text, bool single, int first, int character) {
    if (single)
        return static_cast<int>(
            std::min(static_cast<std::size_t>(std::max(character - first, 0)), text.size()));
    std::size_t i = 0;
    for (int c = first; c < character && i < text.size(); ++c)
        i += characterLength(text, i);
    return static_cast<int>(std::min(i, text.size()));
}

using VerseSpans = VerseMarker::VerseSpans;

// Verse labels ordered by length first: numbers come in their order, and most comparisons
// end at the length.
bool verseBefore(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return a.size() < b.size();
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return a[i] < b[i];
    return false;
}

bool sameVerse(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

// The spans of `verse`, or null. Verse tags mostly come in the table's order, so the entry
// after the last one found is tried first: a verse before it has no spans.
const VerseSpans* findVerse(const std::vector<VerseSpans>& verses, std::size_t& next,
                            std::string_view verse) {
    if (next < verses.size()) {
        if (sameVerse(verses[next].verse, verse))
            return &verses[next++];
        if (verseBefore(verse, verses[next].verse) &&
            (next == 0 || verseBefore(verses[next - 1].verse, verse)))
            return nullptr;
    }
    const auto found = std::lower_bound(
        verses.begin(), verses.end(), verse,
        [](const VerseSpans& v, std::string_view key) { return verseBefore(v.verse, key); });
    next = static_cast<std::size_t>(found - verses.begin());
    if (found == verses.end() || !sameVerse(found->verse, verse))
        return nullptr;
    ++next;
    return &*found;
}

// Marks the run whose first character is `first`; returns its character count.
int markRun(const MarkupNode& node, int first, const VerseSpans& spans,
            std::vector<NodeMark>& marks) {
    const std::string_view text = node.text;
    const bool single = singleBytes(text);
    const int count = single ? static_cast<int>(text.size()) : charactersIn(text, text.size());
    const int last = first + count;
    for (const HighlightSpan* const* it = spans.begin; it != spans.end; ++it) {
        const HighlightSpan* span = *it;
        if (span->end <= first || span->start >= last)
            continue;
        const int from = byteOf(text, single, first, std::max(span->start, first));
        const int to = byteOf(text, single, first, std::min(span->end, last));
        if (from < to)
            marks.push_back({&node, from, to, span->colour});
    }
    return count;
}

// The blank after a verse's last word separates it from the next verse and is no part of
// either: a mark stops before it, or a line that starts with it shows a sliver of colour.
void stopBeforeVerseEnd(const MarkupNode& node, std::vector<NodeMark>& marks,
                        std::size_t firstOfNode) {
    if (node.next() && !isVerseTag(node.next()))
        return;
    int end = static_cast<int>(node.text.size());
    while (end > 0 && node.text[static_cast<std::size_t>(end) - 1] == ' ')
        --end;
    for (std::size_t i = firstOfNode; i < marks.size(); ++i)
        marks[i].byteEnd = std::min(marks[i].byteEnd, end);
    marks.erase(std::remove_if(marks.begin() + static_cast<std::ptrdiff_t>(firstOfNode),
                               marks.end(),
                               [](const NodeMark& m) { return m.byteEnd <= m.byteStart; }),
                marks.end());
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

void VerseMarker::start(const std::vector<HighlightSpan>& spans) {
    usable_.clear();
    verses_.clear();
    marks_.clear();
    current_ = nullptr;
    next_ = 0;
    character_ = 0;
    words_.reset();
    if (spans.empty())
        return;
    // A table sorted by verse, looked up once per verse tag; a verse keeps its spans' order.
    usable_.reserve(spans.size());
    for (const HighlightSpan& span : spans)
        if (span.colour >= 1 && span.colour <= kHighlightColourCount && span.start < span.end)
            usable_.push_back(&span);
    const auto before = [](const HighlightSpan* a, const HighlightSpan* b) {
        return !sameVerse(a->verse, b->verse) ? verseBefore(a->verse, b->verse) : a < b;
    };
    if (!std::is_sorted(usable_.begin(), usable_.end(), before))
        std::sort(usable_.begin(), usable_.end(), before);
    verses_.reserve(usable_.size());
    for (const HighlightSpan* const& span : usable_) {
        if (verses_.empty() || !sameVerse(verses_.back().verse, span->verse))
            verses_.push_back({span->verse, &span, &span, 0});
        VerseSpans& verse = verses_.back();
        verse.end = &span + 1;
        verse.lastEdge = std::max(verse.lastEdge, span->start);
        if (span->end < kWholeVerseSpan)
            verse.lastEdge = std::max(verse.lastEdge, span->end);
    }
}

void VerseMarker::markList(const MarkupNodeList& list) {
    if (verses_.empty())
        return;
    for (const MarkupNode* node = list.head(); node; node = node->next())
        see(*node);
}

void VerseMarker::seeInVerse(const MarkupNode& node) {
    words_.see(node);
    if (const std::string* verse = verseOf(&node)) {
        // Counting starts afresh at each verse, as versePosition counts.
        words_.reset();
        current_ = verses_.empty() ? nullptr : findVerse(verses_, next_, *verse);
        character_ = 0;
    } else if (words_.counts(node) && !node.text.empty()) {
        const std::size_t unmarked = marks_.size();
        if (character_ < current_->lastEdge) {
            character_ += markRun(node, character_, *current_, marks_);
        } else {
            // Past every edge but the verse's end: a run is wholly in a span or outside all,
            // and its characters need no counting. Outside all, so is the rest of the verse,
            // which is passed over.
            for (const HighlightSpan* const* it = current_->begin; it != current_->end; ++it)
                if ((*it)->start <= character_ && (*it)->end > character_)
                    marks_.push_back({&node, 0, static_cast<int>(node.text.size()), (*it)->colour});
            if (marks_.size() == unmarked)
                current_ = nullptr;
        }
        if (marks_.size() > unmarked)
            stopBeforeVerseEnd(node, marks_, unmarked);
    }
}

std::vector<NodeMark> markVerses(const MarkupNodeList& list,
                                 const std::vector<HighlightSpan>& spans) {
    if (spans.empty())
        return {};
    VerseMarker marker(spans);
    marker.markList(list);
    return marker.take();
}

std::optional<VersePosition> versePosition(const MarkupNode* node, int byteOffset) {
    const MarkupNode* tag = node;
    while (tag && !isVerseTag(tag))
        tag = tag->prev();
    if (!node || !tag)
        return std::nullopt;
    VerseMarker::WordRuns words;
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

std::string countedText(const MarkupNodeList& list) {
    std::string text;
    VerseMarker::WordRuns words;
    for (const MarkupNode* node = list.head(); node; node = node->next()) {
        words.see(*node);
        if (words.counts(*node))
            text += node->text;
    }
    return text;
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
