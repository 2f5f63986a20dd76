#include "mkdb/mapplaces.h"
#include "mkdb/sourcerecords.h"
#include "platform/codec.h"
#include "reference/mapframe.h"
#include "reference/topictrees.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

using namespace qel;
using namespace qel::mkdb;

namespace {

Place place(const char* name, double latitude, double longitude) {
    return {name, latitude, longitude, Certainty::Sure, ""};
}

std::vector<Place> tablePlaces() {
    const std::string file = QEL_SOURCE_DIR "/data/maps/places.txt";
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    return readPlaces(in, file);
}

// Great-circle distance in kilometres.
double kilometres(const Place& a, const Place& b) {
    constexpr double rad = 3.14159265358979323846 / 180;
    const double h = std::pow(std::sin((b.latitude - a.latitude) * rad / 2), 2) +
                     std::cos(a.latitude * rad) * std::cos(b.latitude * rad) *
                         std::pow(std::sin((b.longitude - a.longitude) * rad / 2), 2);
    return 2 * 6371 * std::asin(std::sqrt(h));
}

// The table of places as the builder reads it, against a slip of the pen: a name given
// twice, a swapped or mistyped coordinate, a debated site without its proposals.
TEST(MapPlacesTest, ThePlacesTableHoldsNoSlipOfThePen) {
    std::map<std::string, Place> byName;
    for (const Place& p : tablePlaces()) {
        EXPECT_TRUE(byName.emplace(p.name, p).second) << p.name << " twice";
        EXPECT_TRUE(p.latitude >= 20 && p.latitude <= 45 && p.longitude >= 10 && p.longitude <= 55)
            << p.name << " lies outside the lands of the Bible";
        EXPECT_TRUE(p.certainty != Certainty::Uncertain || !p.note.empty())
            << p.name << " is uncertain without a note";
        const std::string all = p.name + p.note;
        EXPECT_EQ(cp949ToUtf8(utf8ToCp949(all)), all) << p.name << ": text CP949 cannot hold";
    }
    const auto at = [&](const std::string& name) {
        const auto found = byName.find(name);
        EXPECT_NE(found, byName.end()) << name << " is not in the table";
        return found == byName.end() ? Place{} : found->second;
    };
    // Distances a reader knows catch a mistyped digit the pins below would not.
    EXPECT_NEAR(kilometres(at("예루살렘"), at("베들레헴")), 8, 2);
    EXPECT_NEAR(kilometres(at("예루살렘"), at("여리고")), 23, 3);
    EXPECT_NEAR(kilometres(at("예루살렘"), at("헤브론")), 30, 4);
    // Capernaum on the lake's north shore, Tiberias on its west shore.
    EXPECT_GT(at("가버나움").latitude, at("갈릴리 바다").latitude);
    EXPECT_LT(at("디베랴").longitude, at("갈릴리 바다").longitude);

    // Well-known places lie where they are, in the cells checked by eye on the drawn maps.
    const struct {
        const char* name;
        double latitude, longitude;
        bool newTestament;
        const char* key;
    } pins[] = {{"예루살렘", 31.778, 35.235, false, "1303404"}, // map 1, C4
                {"갈릴리 바다", 32.82, 35.59, true, "2404404"}, // map 2, D4
                {"다메섹", 33.511, 36.306, false, "1505101"},   // map 1, E1
                {"바벨론", 32.536, 44.421, false, "4606303"},   // map 4, F3
                {"로마", 41.893, 12.483, true, "3101101"},      // map 3, A1
                {"가이사랴", 32.500, 34.892, true, "2202505"}}; // map 2, B5
    for (const auto& pin : pins) {
        SCOPED_TRACE(pin.name);
        EXPECT_NEAR(at(pin.name).latitude, pin.latitude, 0.1);
        EXPECT_NEAR(at(pin.name).longitude, pin.longitude, 0.1);
        const std::set<std::string> nt{pin.newTestament ? pin.name : ""};
        EXPECT_EQ(placeKeys({place(pin.name, pin.latitude, pin.longitude)}, nt).at(0).key, pin.key);
    }
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
    const std::vector<Place> places = tablePlaces();
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
