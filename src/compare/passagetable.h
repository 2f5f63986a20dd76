#pragma once

#include "treesearch/topictable.h"

#include <string>
#include <vector>

namespace qel {

// One row of a passage table, shown as a tree by the tree-and-search panel: `key` holds the
// references, empty for a heading.
using PassageEntry = TopicEntry;

using RawPassage = RawTopic;

// The four-gospel harmony: 290 entries and the end entry.
const std::vector<PassageEntry>& fourGospelTable();
// The parallel history of the kings: 233 entries and the end entry.
const std::vector<PassageEntry>& historyBooksTable();

} // namespace qel
