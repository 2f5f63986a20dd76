#pragma once

#include "reference/topicfile.h"

#include <string>
#include <vector>

namespace qel {

// Where the chronology puts its entries: one band per track, the years on one axis, and
// entries that overlap in a band stacked in lanes.
struct ChronologyTrack {
    const char* code;    // as in the source rows
    const char* caption; // UTF-8
};
// The bands from top to bottom.
const std::vector<ChronologyTrack>& chronologyTracks();
// The band of a track code; unknown codes go to the last band ("church" comes before it).
int trackIndex(const std::string& code);

// The axis counts years without a year 0: 1 BC (-1) and AD 1 stand side by side.
int axisYear(int year);
// The years an entry covers on the axis, its last year included: [begin, end).
int axisBegin(const ChronologyRecord& record);
int axisEnd(const ChronologyRecord& record);

// "주전 1000년", "주후 30년"; uncertain dates read "약 주전 1000년".
std::string yearText(int year, bool circa); // UTF-8
// The dates of an entry: one year for an event, "from - to" for a period.
std::string datesText(const ChronologyRecord& record); // UTF-8

struct ChronologyItem {
    int row;   // index into the records
    int track; // band
    int lane;  // 0 at the top of its band
};
struct ChronologyLayout {
    std::vector<ChronologyItem> items; // in record order
    std::vector<int> lanes;            // lanes per band (at least 1)
    int firstYear = 0;                 // axis years, end exclusive
    int lastYear = 1;
};
// Lanes are given greedily from the earliest entry on: the first lane whose last entry has
// ended (labels need room, so `minimumYears` is the least width an
// entry takes).
ChronologyLayout layOutChronology(const std::vector<ChronologyRecord>& records, int minimumYears);

} // namespace qel
