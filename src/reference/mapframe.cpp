#include "reference/mapframe.h"

#include <algorithm>
#include <cstdio>

namespace qel {
namespace {

constexpr const char* kNames[kMapCount] = {"구약시대의 팔레스티나", "신약시대의 팔레스티나",
                                           "사도 바울의 여행", "구약시대의 중동"};

constexpr MapGridLines kGridX[kMapCount] = {
    {18, 210, 345, 485, 621, 782, 782, 782, 782},
    {16, 191, 325, 457, 592, 783, 783, 783, 783},
    {15, 146, 299, 452, 606, 758, 912, 1065, 1191},
    {15, 152, 307, 461, 613, 767, 921, 1075, 1194},
};
constexpr MapGridLines kGridY[kMapCount] = {
    {17, 191, 327, 465, 603, 739, 877, 1013, 1219},
    {17, 187, 320, 455, 558, 724, 853, 991, 1195},
    {16, 180, 336, 489, 642, 783, 783, 783, 783},
    {17, 153, 307, 461, 616, 783, 783, 783, 783},
};

bool validMap(int map) {
    return map >= 1 && map <= kMapCount;
}

// One axis of the frame: first cell, span code, last cell (digits); nothing when broken.
std::optional<std::pair<int, int>> frameSpan(char first, char span, char last,
                                             const MapGridLines& lines) {
    if (first < '1' || first > '8' || (span != '0' && span != '1' && span != '2'))
        return std::nullopt;
    const int from = first - '1';
    int to = from;
    if (span != '0') {
        if (last < '1' || last > '8')
            return std::nullopt;
        to = last - '1';
    }
    // A last cell before the first one is read as the same span the other way round.
    int start = lines[std::size_t(std::min(from, to))];
    int end = lines[std::size_t(std::max(from, to)) + 1];
    if (span == '2') {
        const int d = (end - start) / 4;
        start += d;
        end -= d;
    }
    return std::pair{start, end};
}

} // namespace

const char* mapNameUtf8(int map) {
    return validMap(map) ? kNames[map - 1] : "";
}

std::string mapFileName(const std::string& mapFolder, int map, char kind) {
    char name[16];
    std::snprintf(name, sizeof name, "M%02d%c.bmp", map, kind);
    return mapFolder + name;
}

std::string topicMapFileName(const std::string& mapFolder, const std::string& topic, char kind) {
    return mapFolder + topic + kind + ".bmp";
}

const MapGridLines& mapGridX(int map) {
    return kGridX[std::clamp(map, 1, kMapCount) - 1];
}

const MapGridLines& mapGridY(int map) {
    return kGridY[std::clamp(map, 1, kMapCount) - 1];
}

std::optional<MapKey> parseMapKey(std::string_view key) {
    if (key.empty() || !validMap(key[0] - '0'))
        return std::nullopt;
    MapKey parsed;
    parsed.map = key[0] - '0';
    if (key.size() != 7)
        return parsed;
    const auto x = frameSpan(key[1], key[2], key[3], mapGridX(parsed.map));
    const auto y = frameSpan(key[4], key[5], key[6], mapGridY(parsed.map));
    if (!x || !y)
        return std::nullopt;
    parsed.frame = MapRect{x->first, y->first, x->second, y->second};
    return parsed;
}

int centredScroll(int frameStart, int frameSize, int visibleSize) {
    return visibleSize > frameSize ? frameStart - (visibleSize - frameSize) / 2 : frameStart;
}

int scaledScroll(int oldScroll, int point, double ratio) {
    return static_cast<int>((oldScroll + point) * ratio - point);
}

int clampScroll(int position, int contentSize, int visibleSize) {
    return std::clamp(position, 0, std::max(0, contentSize - visibleSize));
}

int toSmallScale(int coordinate, int smallWidth, int largeWidth) {
    return largeWidth > 0 ? static_cast<int>(coordinate * (double(smallWidth) / largeWidth))
                          : coordinate;
}

} // namespace qel
