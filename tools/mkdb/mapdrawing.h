#pragma once

#include <functional>
#include <string>
#include <vector>

#include "mkdb/labelplacement.h"

namespace qel::mkdb {

// Draws the four maps from the GSHHG coastline, lake and river data (through GMT) and the
// map sources in dataDir/maps/, and writes each map's large, small and legend bitmaps into
// mapFolder. Needs a QGuiApplication. Throws SourceError or std::runtime_error on failure.
void drawMaps(const std::string& dataDir, const std::string& mapFolder,
              const std::function<void(const std::string&)>& progress);

// The names (grid tags, title, region and place names) and place marks set on a map at
// one scale (reduction 1 large, 2 half size), with the map topic's overlay if topic names
// one, in large-bitmap pixels; and the important places left unnamed. Needs a
// QGuiApplication.
struct MapLabelBoxes {
    std::vector<LabelBox> names;
    std::vector<LabelBox> marks;
    std::vector<std::string> unnamedImportant;
};
MapLabelBoxes mapLabelBoxes(const std::string& dataDir, int map, int reduction,
                            const std::string& topic = {});

// The map topics of dataDir/maps/overlays.txt: key, map, how many routes and areas, the
// sites named, and how many of their points lie off the map.
struct MapTopic {
    std::string key;
    int map = 0;
    int shapes = 0;
    std::vector<std::string> sites;
    int pointsOffMap = 0;
};
std::vector<MapTopic> mapTopics(const std::string& dataDir);

} // namespace qel::mkdb
