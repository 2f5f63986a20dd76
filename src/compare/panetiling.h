#pragma once

namespace qel {

struct PaneRect {
    int x, y, width, height;
    bool operator==(const PaneRect&) const = default;
};

// Where position k (1-based) of n visible panes goes in a view of w × h: one pane fills
// the view, two or three stand side by side, four make a 2 × 2 grid, five put two over
// three and six make two rows of three. Integer division throughout.
PaneRect tilePosition(int n, int k, int w, int h);

// The position counter of one kind of comparison view. It starts at 1 and returns to 1
// after position n, so a tiling pass that skips a minimized pane leaves the next pass
// starting where this one stopped.
class PaneTiler {
public:
    PaneRect next(int n, int w, int h);
    int position() const { return position_; }

private:
    int position_ = 1;
};

// The counters the views of each kind share, owned by the application: while it lives,
// fourGospelTiler and historyBooksTiler answer with its counters.
class PaneTilers {
public:
    PaneTilers();
    ~PaneTilers();
    PaneTilers(const PaneTilers&) = delete;
    PaneTilers& operator=(const PaneTilers&) = delete;

    PaneTiler fourGospels, historyBooks;

private:
    PaneTilers* previous_;
};

// The counters of the PaneTilers in use; there must be one.
PaneTiler& fourGospelTiler();
PaneTiler& historyBooksTiler();

} // namespace qel
