#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qel {

// The four Bible maps: numbers 1-4, their names, files and grids.
inline constexpr int kMapCount = 4;

// The map's name (UTF-8), e.g. "구약시대의 팔레스티나"; empty out of range.
const char* mapNameUtf8(int map);
// The bitmap file of a map in the map folder: kind 'b' large, 's' small, 'i' legend.
std::string mapFileName(const std::string& mapFolder, int map, char kind);
// The bitmap file of a map topic ("m02exodusroad") drawn over its map, kinds as above.
std::string topicMapFileName(const std::string& mapFolder, const std::string& topic, char kind);

// Nine grid lines per axis in pixels of the large bitmap; line k is the left (top) edge of
// cell k + 1 and line 8 closes cell 8. Cells of zero size are off the map.
using MapGridLines = std::array<int, 9>;
const MapGridLines& mapGridX(int map);
const MapGridLines& mapGridY(int map);

struct MapRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const MapRect&) const = default;
};

// A map key, the part after "f": the map digit and, in a key of exactly seven characters,
// the frame around a place (columns at 1-3, rows at 4-6).
struct MapKey {
    int map = 0;
    std::optional<MapRect> frame;
};
// Nothing when the map digit or a cell digit is out of range.
std::optional<MapKey> parseMapKey(std::string_view key);

// Where a scroll view scrolls to centre the frame in a visible area of that size.
int centredScroll(int frameStart, int frameSize, int visibleSize);
// The scroll position that keeps the bitmap point under the mouse after the bitmap is
// scaled by ratio (new width / old width); the point is in view coordinates.
int scaledScroll(int oldScroll, int point, double ratio);
// A scroll position limited to 0 ... content - visible.
int clampScroll(int position, int contentSize, int visibleSize);
// A frame coordinate of the large bitmap on the small one.
int toSmallScale(int coordinate, int smallWidth, int largeWidth);

} // namespace qel
