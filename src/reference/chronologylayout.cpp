#include "reference/chronologylayout.h"

#include <algorithm>

namespace qel {

const std::vector<ChronologyTrack>& chronologyTracks() {
    static const std::vector<ChronologyTrack> tracks = {
        {"era", "시대"},        {"israel", "이스라엘 왕"}, {"judah", "유다 왕"},
        {"prophet", "예언자"},  {"nation", "주변 나라"},   {"event", "사건"},
        {"church", "초대 교회"}};
    return tracks;
}

int trackIndex(const std::string& code) {
    const auto& tracks = chronologyTracks();
    for (std::size_t i = 0; i < tracks.size(); ++i)
        if (code == tracks[i].code)
            return static_cast<int>(i);
    return static_cast<int>(tracks.size()) - 1;
}

int axisYear(int year) {
    return year > 0 ? year - 1 : year;
}

int axisBegin(const ChronologyRecord& record) {
    return std::min(axisYear(record.from), axisYear(record.to));
}

int axisEnd(const ChronologyRecord& record) {
    return std::max(axisYear(record.from), axisYear(record.to)) + 1;
}

std::string yearText(int year, bool circa) {
    std::string text = circa ? "약 " : "";
    text += year < 0 ? "주전 " : "주후 ";
    return text + std::to_string(year < 0 ? -year : year) + "년";
}

std::string datesText(const ChronologyRecord& record) {
    if (record.from == record.to)
        return yearText(record.from, record.circa);
    return yearText(record.from, record.circa) + " - " + yearText(record.to, record.circa);
}

ChronologyLayout layOutChronology(const std::vector<ChronologyRecord>& records, int minimumYears) {
    ChronologyLayout layout;
    const std::size_t bands = chronologyTracks().size();
    layout.lanes.assign(bands, 1);
    layout.items.resize(records.size());
    // Entries from the earliest on, so that a lane's last entry is the one to clear.
    std::vector<int> order(records.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return axisBegin(records[a]) < axisBegin(records[b]); });
    // The year each lane of each band is free from.
    std::vector<std::vector<int>> freeFrom(bands);
    for (std::size_t n = 0; n < order.size(); ++n) {
        const int row = order[n];
        const ChronologyRecord& r = records[row];
        const int track = trackIndex(r.track);
        const int begin = axisBegin(r);
        // An entry may begin in the year the one before it ended (a king's accession year).
        const int end = std::max(axisEnd(r) - 1, begin + minimumYears);
        auto& lanes = freeFrom[track];
        std::size_t lane = 0;
        while (lane < lanes.size() && lanes[lane] > begin)
            ++lane;
        if (lane == lanes.size())
            lanes.push_back(end);
        else
            lanes[lane] = end;
        layout.lanes[track] = std::max<int>(layout.lanes[track], static_cast<int>(lanes.size()));
        layout.items[row] = {row, track, static_cast<int>(lane)};
        layout.firstYear = n == 0 ? begin : std::min(layout.firstYear, begin);
        const int drawnEnd = std::max(axisEnd(r), begin + minimumYears);
        layout.lastYear = n == 0 ? drawnEnd : std::max(layout.lastYear, drawnEnd);
    }
    return layout;
}

} // namespace qel
