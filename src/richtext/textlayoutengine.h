#pragma once

#include "richtext/displaystyle.h"
#include "richtext/layoutrules.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qel {

class MarkupNode;
class MarkupNodeList;
class Surface;
struct NodeMark;
class VerseMarker;

// Nodes that the view hit-tests and scrolls to. Entries beyond the capacity are dropped.
class HotSpotTable {
public:
    static constexpr std::size_t kCapacity = 300;

    void add(MarkupNode* node) {
        if (count_ < kCapacity)
            nodes_[count_++] = node;
    }
    void clear() { count_ = 0; }
    bool full() const { return count_ == kCapacity; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    MarkupNode* operator[](std::size_t i) const { return nodes_[i]; }
    MarkupNode* const* begin() const { return nodes_.data(); }
    MarkupNode* const* end() const { return nodes_.data() + count_; }

private:
    std::array<MarkupNode*, kCapacity> nodes_{};
    std::size_t count_ = 0;
};

// Lays out a page of markup (ReSize), keeps its hot spots, and prints it. One per rich-text
// view. The tables point into the laid-out list: owners call reset() before they clear it.
class TextLayoutEngine {
public:
    // Receives the texts (CP949) of the layout's messages.
    using MessageReporter = std::function<void(const std::string& text)>;

    explicit TextLayoutEngine(const DisplayStyle& settings = DisplayStyle());

    // The display settings in force (font size, line spacing, view mode, colours).
    void setSettings(const DisplayStyle& settings) { settings_ = settings; }
    const DisplayStyle& settings() const { return settings_; }
    // By default messages go to the message sink.
    void setMessageReporter(MessageReporter reporter) { report_ = std::move(reporter); }

    // Gives every text run of `list` a box and returns the document height. The surface has
    // the base text font selected and ends with it selected again. May split and join text
    // runs of the list. A marker is given every node as the layout finishes it, so the
    // highlights are placed without walking the list again.
    int ReSize(Surface& surface, int leftMargin, MarkupNodeList* list, bool commentary,
               VerseMarker* marker = nullptr);

    // Draws `list` page by page on a printer surface that has the print font selected and
    // its first page started, highlighted bytes on their colours. Returns the number of pages
    // used.
    int Print(Surface& surface, const MarkupNodeList* list, bool commentary,
              const std::string* pageTitle, const std::string* footerText,
              const std::vector<NodeMark>* marks = nullptr);

    void reset();
    bool commentary() const { return commentary_; }

    const HotSpotTable& links() const { return links_; }
    const HotSpotTable& verseNumbers() const { return verseNumbers_; }
    const HotSpotTable& footnotes() const { return footnotes_; }
    const HotSpotTable& anchors() const { return anchors_; }

    // Parsed forms of the font size (points) and line spacing (percent) settings.
    int fontSize() const;
    int lineSpacing() const;

private:
    struct Pass;

    DisplayStyle settings_;
    MessageReporter report_;
    bool commentary_ = false;
    HotSpotTable links_;
    HotSpotTable verseNumbers_;
    HotSpotTable footnotes_;
    HotSpotTable anchors_;
};

} // namespace qel
