#pragma once

#include "treesearch/topictable.h"

namespace qel {

// The article kinds; the kind is also the tree panel's mode.
namespace articlekind {
enum : int { Book = 0, Units = 1, Term = 2, Criticism = 3, Count = 4 };
}

// Book guides: the testaments, their groups, group introductions ("GREmos"), the books by
// book code and their sections (book code and three digits); 258 entries, levels 0 to 4.
const TopicTable& bookGuideTree();
// Weights, measures and money: 8 entries "0" to "7".
const TopicTable& unitTree();
// Terms "0" to "656" in dictionary order of their titles.
const TopicTable& termTree();
// Textual notes: "all" and then one entry per book with notes; 43 entries.
const TopicTable& criticismTree();

// The tree of a kind, each ended by the level -1 entry; kinds out of range get none.
const TopicTable* articleTree(int kind);

} // namespace qel
