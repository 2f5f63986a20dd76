#include "app/windowtiling.h"

#include <algorithm>
#include <cmath>

namespace qel {

WindowRect cascadedPlace(int openCount, int areaWidth, int areaHeight, int step) {
    WindowRect place;
    place.width = std::max(0, areaWidth * 3 / 4);
    place.height = std::max(0, areaHeight * 3 / 4);
    // Places along the diagonal that keep the whole window inside.
    const int room = std::min(areaWidth - place.width, areaHeight - place.height);
    const int places = step > 0 ? std::max(0, room) / step + 1 : 1;
    const int offset = (std::max(0, openCount) % places) * std::max(0, step);
    place.x = offset;
    place.y = offset;
    return place;
}

WindowRect fitInside(WindowRect rect, WindowSize minimum, int areaWidth, int areaHeight) {
    rect.width = std::min(std::max(rect.width, minimum.width), std::max(0, areaWidth));
    rect.height = std::min(std::max(rect.height, minimum.height), std::max(0, areaHeight));
    rect.x = std::clamp(rect.x, 0, std::max(0, areaWidth - rect.width));
    rect.y = std::clamp(rect.y, 0, std::max(0, areaHeight - rect.height));
    return rect;
}

std::vector<WindowRect> cascadeWindows(const std::vector<WindowSize>& minimums, int areaWidth,
                                       int areaHeight, int step) {
    std::vector<WindowRect> places;
    places.reserve(minimums.size());
    for (std::size_t i = 0; i < minimums.size(); ++i)
        places.push_back(fitInside(cascadedPlace(static_cast<int>(i), areaWidth, areaHeight, step),
                                   minimums[i], areaWidth, areaHeight));
    return places;
}

std::vector<WindowRect> tileWindows(int count, int areaWidth, int areaHeight, Tiling tiling) {
    std::vector<WindowRect> cells;
    if (count <= 0)
        return cells;
    // Worked out as columns of windows; rows are the same picture turned on its side.
    const bool columns = tiling == Tiling::Vertical;
    const int across = columns ? areaWidth : areaHeight;
    const int along = columns ? areaHeight : areaWidth;
    const int perLine = static_cast<int>(std::sqrt(static_cast<double>(count)));
    const int lines = count / perLine;
    for (int line = 0, placed = 0; line < lines; ++line) {
        const int inLine = line + 1 == lines ? count - placed : perLine;
        const int lineStart = across * line / lines;
        const int lineEnd = across * (line + 1) / lines;
        for (int i = 0; i < inLine; ++i, ++placed) {
            const int start = along * i / inLine;
            const int end = along * (i + 1) / inLine;
            cells.push_back(columns
                                ? WindowRect{lineStart, start, lineEnd - lineStart, end - start}
                                : WindowRect{start, lineStart, end - start, lineEnd - lineStart});
        }
    }
    return cells;
}

} // namespace qel
