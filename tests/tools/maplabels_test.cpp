#include "mkdb/mapdrawing.h"
#include "mkdb/mapplaces.h"
#include "reference/mapframe.h"
#include "reference/topictrees.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

using namespace qel;
using namespace qel::mkdb;

namespace {

const std::string kData = QEL_SOURCE_DIR "/data";

void expectReadable(const MapLabelBoxes& boxes, const std::string& what) {
    EXPECT_TRUE(boxes.unnamedImportant.empty())
        << what << ": " << (boxes.unnamedImportant.empty() ? "" : boxes.unnamedImportant[0]);
    int overlaps = 0;
    std::string first;
    const auto count = [&](const LabelBox& a, const LabelBox& b) {
        if (!a.intersects(b))
            return;
        if (!overlaps++)
            first = std::to_string(a.left) + "," + std::to_string(a.top) + " and " +
                    std::to_string(b.left) + "," + std::to_string(b.top);
    };
    for (std::size_t i = 0; i < boxes.names.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.names.size(); ++j)
            count(boxes.names[i], boxes.names[j]);
        for (const LabelBox& mark : boxes.marks)
            count(boxes.names[i], mark);
    }
    EXPECT_EQ(overlaps, 0) << what << ", first " << first;
}

// On the drawn maps, at both scales, with the Korean faces of the program.
TEST(MapLabelsTest, NamesNeverOverlapAndImportantPlacesAreNamed) {
    for (int map = 1; map <= kMapCount; ++map)
        for (int reduction : {1, 2}) {
            const MapLabelBoxes boxes = mapLabelBoxes(kData, map, reduction);
            expectReadable(boxes, "map " + std::to_string(map) + "/" + std::to_string(reduction));
            // The map is named, not left bare.
            EXPECT_GT(boxes.marks.size(), 20u);
        }
    for (const MapTopic& topic : mapTopics(kData))
        for (int reduction : {1, 2})
            expectReadable(mapLabelBoxes(kData, topic.map, reduction, topic.key),
                           topic.key + "/" + std::to_string(reduction));
}

std::set<std::string> placeNames() {
    std::ifstream in(kData + "/maps/places.txt");
    std::set<std::string> names;
    for (const Place& place : readPlaces(in, "places.txt"))
        names.insert(place.name);
    return names;
}

TEST(MapLabelsTest, ImportantPlacesAndTopicSitesAreKnownPlaces) {
    const std::set<std::string> places = placeNames();
    std::ifstream in(kData + "/maps/important.txt");
    const std::set<std::string> important = readNameList(in);
    EXPECT_GT(important.size(), 10u);
    for (const std::string& name : important)
        EXPECT_TRUE(places.count(name)) << name;
    for (const MapTopic& topic : mapTopics(kData))
        for (const std::string& site : topic.sites)
            EXPECT_TRUE(places.count(site)) << topic.key << ": " << site;
}

// Every map topic of the tree has a drawing on its map, all of it on the map.
TEST(MapLabelsTest, EveryMapTopicHasItsOverlay) {
    const std::vector<MapTopic> topics = mapTopics(kData);
    const TopicTable& tree = mapTree();
    int count = 0;
    for (int row = 0; row < entryCount(tree); ++row) {
        const std::string key = tree[row].key;
        if (key.empty() || key[0] != 'm')
            continue;
        ++count;
        const auto topic = std::find_if(topics.begin(), topics.end(),
                                        [&](const MapTopic& t) { return t.key == key; });
        ASSERT_NE(topic, topics.end()) << key;
        EXPECT_GT(topic->shapes, 0) << key;
        EXPECT_FALSE(topic->sites.empty()) << key;
        EXPECT_EQ(topic->pointsOffMap, 0) << key;
    }
    EXPECT_EQ(count, int(topics.size()));
}

} // namespace
