#pragma once

#include <QFrame>
#include <functional>
#include <string>
#include <vector>

namespace qel {

struct TextDisplay;
class CComparePane;
class MarkupNodeList;
class PaneTiler;

// The right side of a comparison window: one pane per book in a fixed order; the panes of
// the books a passage names are shown and tiled over the view, the others hidden.
class CCompareView : public QFrame {
    Q_OBJECT
public:
    using LinkHandler = std::function<void(const std::string& commandKey)>;

    CCompareView(const TextDisplay& display, int paneCount, PaneTiler& tiler, LinkHandler links,
                 QWidget* parent = nullptr);
    ~CCompareView() override;

    // Every pane drops its list; each pane whose list has a node takes it and shows.
    void SetTexts(const std::vector<MarkupNodeList*>& lists);
    // Places the visible panes, in pane order, by the tiling rules.
    void Tile();
    // Each pane lays its list out again and repaints.
    void RedisplayPanes();
    // Forgets every list; call before the holder destroys them.
    void ClearPanes();

    int visibleCount() const { return visibleCount_; }
    const std::vector<CComparePane*>& panes() const { return panes_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<CComparePane*> panes_;
    PaneTiler& tiler_;
    int visibleCount_ = 0;
};

} // namespace qel
