#include "mkdb/mapplaces.h"
#include "platform/codec.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

// The table of Bible places the map builder reads, through the builder's own reader: its
// form and a few positions that a slip of the pen (a swapped or mistyped coordinate) would
// move.
namespace {

using qel::mkdb::Certainty;
using qel::mkdb::Place;

class PlacesTable : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string file = QEL_SOURCE_DIR "/data/maps/places.txt";
        std::ifstream in(file, std::ios::binary);
        ASSERT_TRUE(in) << "data/maps/places.txt is missing";
        places() = qel::mkdb::readPlaces(in, file);
    }
    static std::vector<Place>& places() {
        static std::vector<Place> all;
        return all;
    }
    static const Place& place(const std::string& name) {
        for (const Place& p : places())
            if (p.name == name)
                return p;
        static const Place none;
        ADD_FAILURE() << name << " is not in the table";
        return none;
    }
};

// Great-circle distance in kilometres.
double kilometres(const Place& a, const Place& b) {
    constexpr double rad = 3.14159265358979323846 / 180;
    const double h = std::pow(std::sin((b.latitude - a.latitude) * rad / 2), 2) +
                     std::cos(a.latitude * rad) * std::cos(b.latitude * rad) *
                         std::pow(std::sin((b.longitude - a.longitude) * rad / 2), 2);
    return 2 * 6371 * std::asin(std::sqrt(h));
}

TEST_F(PlacesTable, HoldsSixHundredSixUniquelyNamedPlaces) {
    EXPECT_EQ(places().size(), 606u);
    std::set<std::string> names;
    for (const Place& p : places()) {
        EXPECT_FALSE(p.name.empty());
        EXPECT_TRUE(names.insert(p.name).second) << p.name << " twice";
        EXPECT_TRUE(p.name.empty() || (p.name.front() != ' ' && p.name.back() != ' '))
            << "spaces around '" << p.name << "'";
    }
}

TEST_F(PlacesTable, EveryRecordIsWellFormed) {
    for (const Place& p : places()) {
        EXPECT_TRUE(p.latitude >= 20 && p.latitude <= 45 && p.longitude >= 10 && p.longitude <= 55)
            << p.name << " lies outside the lands of the Bible";
        // A debated identification names its proposals.
        EXPECT_TRUE(p.certainty != Certainty::Uncertain || !p.note.empty())
            << p.name << " is uncertain without a note";
        const std::string all = p.name + p.note;
        EXPECT_EQ(qel::cp949ToUtf8(qel::utf8ToCp949(all)), all)
            << p.name << ": text that CP949 cannot hold";
    }
}

TEST_F(PlacesTable, WellKnownPlacesLieWhereTheyAre) {
    const std::map<std::string, std::pair<double, double>> known{
        {"예루살렘", {31.778, 35.235}}, {"갈릴리 바다", {32.82, 35.59}},
        {"다메섹", {33.511, 36.306}},   {"바벨론", {32.536, 44.421}},
        {"로마", {41.893, 12.483}},     {"가이사랴", {32.500, 34.892}}};
    for (const auto& [name, at] : known) {
        const Place& p = place(name);
        EXPECT_NEAR(p.latitude, at.first, 0.1) << name;
        EXPECT_NEAR(p.longitude, at.second, 0.1) << name;
    }
    // Distances a reader knows catch a mistyped digit the pins above would not.
    EXPECT_NEAR(kilometres(place("예루살렘"), place("베들레헴")), 8, 2);
    EXPECT_NEAR(kilometres(place("예루살렘"), place("여리고")), 23, 3);
    EXPECT_NEAR(kilometres(place("예루살렘"), place("헤브론")), 30, 4);
    // Capernaum on the lake's north shore, Tiberias on its west shore.
    EXPECT_GT(place("가버나움").latitude, place("갈릴리 바다").latitude);
    EXPECT_LT(place("디베랴").longitude, place("갈릴리 바다").longitude);
}

} // namespace
