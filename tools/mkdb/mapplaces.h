#pragma once

#include <iosfwd>
#include <set>
#include <string>
#include <vector>

namespace qel::mkdb {

// How each map lays the earth on its large bitmap: longitude and latitude linearly, with
// the longitude step shortened by the cosine of the middle latitude so that shapes keep
// their proportions at these scales.
struct MapProjection {
    double west, east, south, north;
    int width, height;

    double x(double longitude) const { return (longitude - west) / (east - west) * width; }
    double y(double latitude) const { return (north - latitude) / (north - south) * height; }
    // Pixels of the large bitmap per kilometre (north-south).
    double pixelsPerKm() const { return height / (north - south) / 111.2; }
};
const MapProjection& mapProjection(int map);

// The 7-digit frame key of the grid cell holding the point on the map (map digit, column,
// span "0", column, row, span "0", row); empty when the point lies outside the map's cells.
std::string placeFrameKey(int map, double latitude, double longitude);

enum class Certainty { Sure, Likely, Uncertain };

// One line of data/maps/places.txt: name, latitude, longitude (decimal degrees, north and
// east positive), certainty, optional note.
struct Place {
    std::string name; // UTF-8
    double latitude = 0;
    double longitude = 0;
    Certainty certainty = Certainty::Sure;
    std::string note;
};
// Throws SourceError naming the file and line for a malformed line.
std::vector<Place> readPlaces(std::istream& in, const std::string& fileName);
// One name a line (data/maps/ntplaces.txt); "#" starts a comment line.
std::set<std::string> readNameList(std::istream& in);

// The map a place's key points at: the most detailed map that covers it, where places of
// the New Testament (named in the list) look at the maps of its time first (2, 3, then 1,
// 4) and all others at those of the Old Testament (1, 4, then 2, 3). 0 when none covers it.
int keyMapOf(const Place& place, bool newTestament);

// For a place beyond every map (Tarshish, Sheba): the key of the cell nearest to it on
// the map whose cells come nearest, so that its frame points the way.
std::string nearestFrameKey(double latitude, double longitude);

// Name and key of every place, in file order.
struct PlaceKey {
    std::string name;
    std::string key;
};
std::vector<PlaceKey> placeKeys(const std::vector<Place>& places,
                                const std::set<std::string>& newTestament);

// The source of src/reference/placenametree.cpp for these keys.
std::string placeNameTreeSource(const std::vector<PlaceKey>& keys);

} // namespace qel::mkdb
