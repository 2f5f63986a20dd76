#pragma once

#include <vector>

// Where the main window puts its child windows: cascaded places for new ones and the two
// tilings. All rectangles are in the coordinates of the visible window area.
namespace qel {

struct WindowRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const WindowRect&) const = default;
};

// The place of a new window when `openCount` windows are open: three quarters of the area,
// moved down and right by `step` per open window, and back to the corner before it would
// leave the area.
WindowRect cascadedPlace(int openCount, int areaWidth, int areaHeight, int step);

struct WindowSize {
    int width = 0, height = 0;
};

// The rectangle grown to at least `minimum` (cut to the area where the area is smaller) and
// moved back inside the area.
WindowRect fitInside(WindowRect rect, WindowSize minimum, int areaWidth, int areaHeight);

// Cascaded places for windows with these minimum sizes, the first at the back: each at its
// cascaded place, at least its minimum size and inside the area.
std::vector<WindowRect> cascadeWindows(const std::vector<WindowSize>& minimums, int areaWidth,
                                       int areaHeight, int step);

enum class Tiling {
    Vertical,   // side by side: columns of windows
    Horizontal, // one above another: rows of windows
};

// Cells for `count` windows that cover the area without overlapping. About the square root
// of the count gives the number of lines across the tiling; the last column (or row) takes
// the windows left over.
std::vector<WindowRect> tileWindows(int count, int areaWidth, int areaHeight, Tiling tiling);

} // namespace qel
