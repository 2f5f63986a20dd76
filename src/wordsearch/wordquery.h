#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

class WordIndex;

// One word of a query as typed (CP949); allForms when it was written with a trailing "*".
struct SearchWord {
    std::string text;
    bool allForms = false;
    bool operator==(const SearchWord&) const = default;
};

// A single word, or a phrase whose words stand next to each other in this order.
struct QueryTerm {
    std::vector<SearchWord> words;
    bool phrase = false;
    bool operator==(const QueryTerm&) const = default;
};

// A verse matches when it matches every term of at least one group.
struct WordQuery {
    std::vector<std::vector<QueryTerm>> anyOf;
    bool empty() const { return anyOf.empty(); }
};

// Reads the query text of a word search:
//   "in the beginning"&~   phrase
//   faith&hope&~           and; faith*&hope*&~ with all forms
//   faith#hope#~           or;  faith*#hope*#~ with all forms
// "&" binds closer than "#"; "~" or the end of the text ends the query. Blanks inside a
// term separate words that must all occur. Empty terms are skipped.
WordQuery parseWordQuery(std::string_view text);

// Ids of the verses that match, in reading order, within the range "all", "old", "new" or
// a book code. An unknown range matches nothing.
//   Whole words: an English word matches itself regardless of case and nothing longer
//   (love does not find glove or lovely); a Korean word matches itself as written, ending
//   at a blank (하나님 does not find 하나님께서).
//   All forms: English inflections (love, loves, loved, loving, lovest, loveth); a Korean
//   stem or noun with any ending or particle (믿다 or 믿 finds 믿으니, 믿었더라, 믿는;
//   하나님 finds 하나님이, 하나님께서, 하나님의).
std::vector<std::uint32_t> findVerses(const WordIndex& index, const WordQuery& query,
                                      std::string_view range);

} // namespace qel
