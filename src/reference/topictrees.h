#pragma once

#include "treesearch/topictable.h"

namespace qel {

// The tree tables of the multimedia topic windows, one per panel mode. Keys are those of
// the topic data files that qel-mkdb builds from data/topics/.

// Mode 4, "성서가 우리에게 오기까지": 55 entries, levels 0-2, keys "ca" + 4 digits.
const TopicTable& cameTree();
// Mode 5, the maps: 22 entries, levels 0-1; "f1"-"f4" open a map, "m" + 12 characters a
// topic about a map's period.
const TopicTable& mapTree();
// Mode 5's second tree: 606 place names, all level 0, keys of 7 digits (a map frame).
const TopicTable& placeNameTree();
// Mode 6, "사진 자료": 225 entries, levels 0-2, keys "PHI" + 9 digits.
const TopicTable& photoTree();
// Mode 9, "주제별 단편 성서": 692 entries, levels 0-3, keys "S" + language letter + 10
// digits; the tree holds the Korean form ("SK...").
const TopicTable& shortTopicTree();
// Mode 10, "연대표": 133 entries, levels 0-1, decimal keys.
const TopicTable& chronologyTree();
// Mode 11, the program's own guide: 42 entries, levels 0-2, keys "ad" + 4 digits.
const TopicTable& aboutTree();

} // namespace qel
