#include "mkdb/mapplaces.h"

#include "mkdb/sourcerecords.h"
#include "platform/text.h"
#include "reference/mapframe.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <numbers>
#include <sstream>

namespace qel::mkdb {
namespace {

// Chosen so that the places of each map's period fall inside its cells: the Palestine maps
// from Sidon to the Gulf of Aqaba (1) and from Sidon to Beersheba (2), Paul's world from
// Rome to Jerusalem (3), the Old Testament east from the Nile to Persia and Ararat (4).
constexpr MapProjection kProjections[kMapCount] = {
    {33.65, 36.922, 29.45, 33.70, 800, 1220},
    {34.20, 36.373, 31.158, 33.958, 800, 1220},
    {11.20, 37.690, 29.60, 43.60, 1200, 790},
    {25.60, 54.300, 24.20, 40.20, 1200, 790},
};

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

bool parseDegrees(std::string_view text, double low, double high, double& value) {
    text = trimmed(text);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= low &&
           value <= high;
}

// The cell (1-8) holding a coordinate, 0 outside the cells of non-zero size.
int cellOf(double position, const MapGridLines& lines) {
    for (std::size_t k = 0; k + 1 < lines.size(); ++k)
        if (position >= lines[k] && position < lines[k + 1])
            return int(k) + 1;
    return 0;
}

} // namespace

const MapProjection& mapProjection(int map) {
    return kProjections[(map >= 1 && map <= kMapCount ? map : 1) - 1];
}

std::string placeFrameKey(int map, double latitude, double longitude) {
    if (map < 1 || map > kMapCount)
        return {};
    const MapProjection& projection = mapProjection(map);
    const int column = cellOf(projection.x(longitude), mapGridX(map));
    const int row = cellOf(projection.y(latitude), mapGridY(map));
    if (column == 0 || row == 0)
        return {};
    const char c = char('0' + column), r = char('0' + row);
    return {char('0' + map), c, '0', c, r, '0', r};
}

std::vector<Place> readPlaces(std::istream& in, const std::string& fileName) {
    std::vector<Place> places;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trimmed(line).empty() || line.front() == '#')
            continue;
        const auto fail = [&](const std::string& reason) {
            throw SourceError(fileName + ":" + std::to_string(number) + ": " + reason);
        };
        const std::vector<std::string_view> fields = splitTabs(line);
        if (fields.size() < 4 || fields.size() > 5)
            fail("expected name, latitude, longitude, certainty and an optional note");
        Place place;
        place.name = std::string(trimmed(fields[0]));
        if (place.name.empty() || place.name.find_first_of("\"\\") != std::string::npos)
            fail("empty place name, or one with a quote or backslash");
        if (!parseDegrees(fields[1], -90, 90, place.latitude) ||
            !parseDegrees(fields[2], -180, 180, place.longitude))
            fail("bad latitude or longitude");
        const std::string_view certainty = trimmed(fields[3]);
        if (certainty == "sure")
            place.certainty = Certainty::Sure;
        else if (certainty == "likely")
            place.certainty = Certainty::Likely;
        else if (certainty == "uncertain")
            place.certainty = Certainty::Uncertain;
        else
            fail("certainty must be sure, likely or uncertain");
        if (fields.size() == 5)
            place.note = std::string(trimmed(fields[4]));
        places.push_back(std::move(place));
    }
    return places;
}

std::set<std::string> readNameList(std::istream& in) {
    std::set<std::string> names;
    std::string line;
    while (std::getline(in, line)) {
        const std::string_view name = trimmed(line);
        if (!name.empty() && name.front() != '#')
            names.emplace(name);
    }
    return names;
}

int keyMapOf(const Place& place, bool newTestament) {
    static constexpr int kNewOrder[] = {2, 3, 1, 4};
    static constexpr int kOldOrder[] = {1, 4, 2, 3};
    for (int map : newTestament ? kNewOrder : kOldOrder)
        if (!placeFrameKey(map, place.latitude, place.longitude).empty())
            return map;
    return 0;
}

std::string nearestFrameKey(double latitude, double longitude) {
    std::string nearest;
    double best = 0;
    for (int map = 1; map <= kMapCount; ++map) {
        const MapProjection& p = mapProjection(map);
        const MapGridLines& xs = mapGridX(map);
        const MapGridLines& ys = mapGridY(map);
        // The point of the map's cells nearest to the place, back in degrees.
        const double x = std::clamp(p.x(longitude), double(xs.front()), xs.back() - 1.0);
        const double y = std::clamp(p.y(latitude), double(ys.front()), ys.back() - 1.0);
        const double nearLongitude = p.west + x / p.width * (p.east - p.west);
        const double nearLatitude = p.north - y / p.height * (p.north - p.south);
        const double dx = (longitude - nearLongitude) * std::cos(latitude * std::numbers::pi / 180);
        const double distance = std::hypot(dx, latitude - nearLatitude);
        if (nearest.empty() || distance < best) {
            best = distance;
            nearest = placeFrameKey(map, nearLatitude, nearLongitude);
        }
    }
    return nearest;
}

std::vector<PlaceKey> placeKeys(const std::vector<Place>& places,
                                const std::set<std::string>& newTestament) {
    std::vector<PlaceKey> keys;
    keys.reserve(places.size());
    for (const Place& place : places) {
        const int map = keyMapOf(place, newTestament.contains(place.name));
        keys.push_back({place.name, map ? placeFrameKey(map, place.latitude, place.longitude)
                                        : nearestFrameKey(place.latitude, place.longitude)});
    }
    return keys;
}

std::string placeNameTreeSource(const std::vector<PlaceKey>& keys) {
    std::ostringstream out;
    out << "// Generated by qel-mkdb --place-table from data/maps/places.txt: the place names\n"
           "// and the map cells that hold them. Regenerate when the places change.\n"
           "#include \"reference/topictrees.h\"\n\n"
           "namespace qel {\nnamespace {\n\n"
           "constexpr RawTopic kEntries[] = {\n";
    for (const PlaceKey& place : keys)
        out << "    {0, \"" << place.key << "\", \"" << place.name << "\"},\n";
    out << "    {-1, \"\", \"\"},\n};\n\n} // namespace\n\n"
           "const TopicTable& placeNameTree() {\n"
           "    static const TopicTable table = convertTopics(kEntries);\n"
           "    return table;\n}\n\n} // namespace qel\n";
    return out.str();
}

} // namespace qel::mkdb
