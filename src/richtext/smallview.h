#pragma once

#include "richtext/markupnode.h"
#include "richtext/richtextarea.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>

namespace qel {

// The footnote popup of the Bible text view: a small bordered window on the tooltip
// background that parses and shows one markup text, sizes itself to it, scrolls, and
// follows the links in it.
class SmallView : public RichTextArea {
    Q_OBJECT
public:
    static constexpr std::size_t kLinkCapacity = 50;
    static constexpr int kLeftMargin = 10;

    explicit SmallView(const TextDisplay& display, QWidget* parent = nullptr);
    ~SmallView() override;

    // Replaces the content: parses and lays the text out at the current width, then takes
    // the size of the laid-out text and moves inside the parent's client area.
    void SetText(const std::string& markup);
    // Receives the target (a command key) of a clicked link.
    void setLinkHandler(std::function<void(const std::string&)> handler) {
        linkHandler_ = std::move(handler);
    }

    std::size_t linkCount() const { return linkCount_; }
    MarkupNode* link(std::size_t i) const { return links_[i]; }
    // Width of the laid-out text including its margins.
    int contentWidth() const { return contentWidth_; }

protected:
    int layoutWidth() const override;
    MarkupNode* linkAt(const QPoint& documentPoint) const override;
    void openLink(const std::string& target) override;
    void afterPress(const QPoint& documentPoint) override;

private:
    MarkupNodeList text_;
    std::array<MarkupNode*, kLinkCapacity> links_{};
    std::size_t linkCount_ = 0;
    int contentWidth_ = 0;
    std::function<void(const std::string&)> linkHandler_;
};

} // namespace qel
