#include "mkdb/mapplaces.h"
#include "mkdb/sourcerecords.h"
#include "platform/codec.h"
#include "reference/mapframe.h"
#include "reference/topictrees.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace qel;
using namespace qel::mkdb;

namespace {

Place place(const char* name, double latitude, double longitude) {
    return {name, latitude, longitude, Certainty::Sure, ""};
}

// The cells checked by eye on the drawn maps.
TEST(MapPlacesTest, WellKnownPlacesLandInTheirCells) {
    const std::set<std::string> nt = {"갈릴리 바다", "가이사랴", "로마"};
    const std::vector<Place> places = {
        place("예루살렘", 31.778, 35.235), place("갈릴리 바다", 32.82, 35.59),
        place("다메섹", 33.511, 36.306),   place("바벨론", 32.536, 44.421),
        place("로마", 41.893, 12.483),     place("가이사랴", 32.500, 34.892)};
    const std::vector<PlaceKey> keys = placeKeys(places, nt);
    ASSERT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys[0].key, "1303404"); // map 1, C4
    EXPECT_EQ(keys[1].key, "2404404"); // map 2, D4
    EXPECT_EQ(keys[2].key, "1505101"); // map 1, E1
    EXPECT_EQ(keys[3].key, "4606303"); // map 4, F3
    EXPECT_EQ(keys[4].key, "3101101"); // map 3, A1
    EXPECT_EQ(keys[5].key, "2202505"); // map 2, B5
    // Jerusalem lies in a cell on every map.
    EXPECT_EQ(placeFrameKey(2, 31.778, 35.235), "2303707");
    EXPECT_EQ(placeFrameKey(3, 31.778, 35.235), "3808505");
    EXPECT_EQ(placeFrameKey(4, 31.778, 35.235), "4303303");
}

TEST(MapPlacesTest, KeysGoToTheMapsOfTheirTime) {
    const Place jericho = place("여리고", 31.871, 35.444);
    EXPECT_EQ(keyMapOf(jericho, false), 1);
    EXPECT_EQ(keyMapOf(jericho, true), 2);
    // Beyond the Palestine maps: the Old Testament east first, else Paul's world.
    const Place antioch = place("안디옥", 36.202, 36.160);
    EXPECT_EQ(keyMapOf(antioch, false), 4);
    EXPECT_EQ(keyMapOf(antioch, true), 3);
    EXPECT_EQ(keyMapOf(place("아덴", 37.972, 23.726), false), 3);
    EXPECT_EQ(keyMapOf(place("수산", 32.19, 48.26), true), 4);
    EXPECT_EQ(keyMapOf(place("아라랏 산", 39.70, 44.30), false), 4);
    EXPECT_EQ(keyMapOf(place("다시스", 37.2, -6.9), false), 0);
    // Beyond every map: the nearest cell of the nearest map, Paul's world for Spain, the
    // east's southern edge for Sheba.
    const std::vector<PlaceKey> beyond =
        placeKeys({place("다시스", 37.2, -6.9), place("스바", 15.4, 44.2)}, {});
    EXPECT_EQ(beyond[0].key, "3101303");
    EXPECT_EQ(beyond[1].key, "4606505");
    // Cells of zero size are off the map: east of map 1's last grid line.
    EXPECT_EQ(placeFrameKey(1, 32.0, 37.05), "");
}

TEST(MapPlacesTest, ReadsThePlacesForm) {
    std::istringstream in("# comment\n"
                          "예루살렘\t31.778\t35.235\tsure\t\n"
                          "시내 산\t28.539\t33.975\tuncertain\t제벨 무사\r\n"
                          "\n"
                          "가데스 바네아\t30.646\t34.425\tlikely\n");
    const std::vector<Place> places = readPlaces(in, "places.txt");
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[1].name, "시내 산");
    EXPECT_DOUBLE_EQ(places[1].longitude, 33.975);
    EXPECT_EQ(places[1].certainty, Certainty::Uncertain);
    EXPECT_EQ(places[1].note, "제벨 무사");
    EXPECT_EQ(places[2].certainty, Certainty::Likely);
    for (const char* bad : {"가\t31.7\t35.2\n", "가\t31.7x\t35.2\tsure\n", "가\t91\t35.2\tsure\n",
                            "가\t31.7\t35.2\tmaybe\n", "\t31.7\t35.2\tsure\n",
                            "가\"\t31.7\t35.2\tsure\n", "가\t31.7\t35.2\tsure\tn\textra\n"}) {
        std::istringstream line(std::string("\n") + bad);
        try {
            readPlaces(line, "p.txt");
            ADD_FAILURE() << bad;
        } catch (const SourceError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("p.txt:2: ", 0), 0u) << e.what();
        }
    }
}

// The place-name tree is source code generated from the places file; it must match what
// the places and the projections give now, and every key must frame a cell of its map.
TEST(MapPlacesTest, PlaceNameTreeMatchesThePlaces) {
    std::vector<Place> places;
    const std::string file = std::string(QEL_SOURCE_DIR) + "/data/maps/places.txt";
    if (std::ifstream in(file); in)
        places = readPlaces(in, file);
    std::ifstream ntIn(std::string(QEL_SOURCE_DIR) + "/data/maps/ntplaces.txt");
    ASSERT_TRUE(ntIn);
    const std::vector<PlaceKey> keys = placeKeys(places, readNameList(ntIn));
    const TopicTable& tree = placeNameTree();
    ASSERT_EQ(tree.size(), keys.size() + 1) << "regenerate with qel-mkdb --place-table";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(keys[i].name);
        EXPECT_EQ(tree[i].level, 0);
        EXPECT_EQ(cp949ToUtf8(tree[i].title), keys[i].name);
        EXPECT_EQ(tree[i].key, keys[i].key);
        const auto key = parseMapKey(tree[i].key);
        ASSERT_TRUE(key && key->frame);
        EXPECT_GT(key->frame->width(), 0);
        EXPECT_GT(key->frame->height(), 0);
    }
    EXPECT_EQ(tree.back().level, -1);
}

TEST(MapPlacesTest, GeneratedSourceHoldsEveryEntry) {
    const std::string source = placeNameTreeSource({{"예루살렘", "1303404"}, {"단", "1404101"}});
    EXPECT_NE(source.find("    {0, \"1303404\", \"예루살렘\"},\n    {0, \"1404101\", \"단\"},\n"
                          "    {-1, \"\", \"\"},"),
              std::string::npos);
    EXPECT_NE(source.find("const TopicTable& placeNameTree()"), std::string::npos);
}

} // namespace
