#pragma once

#include <span>
#include <string>
#include <vector>

namespace qel {

// One row of a passage table: level 0 is a top node and each entry is a child of the last
// entry one level up; level -1 ends the table. `key` holds the references, empty for a
// heading. Texts are CP949.
struct PassageEntry {
    int level;
    std::string key;
    std::string title;
};

// Literal rows are UTF-8 so the tables stay readable; they are converted once.
struct RawPassage {
    int level;
    const char* key;
    const char* title;
};
std::vector<PassageEntry> convertPassages(std::span<const RawPassage> raw);

// The four-gospel harmony: 290 entries and the end entry.
const std::vector<PassageEntry>& fourGospelTable();
// The parallel history of the kings: 233 entries and the end entry.
const std::vector<PassageEntry>& historyBooksTable();

} // namespace qel
