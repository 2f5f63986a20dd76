#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

class Database;
class MarkupNode;

// The verse-by-verse parallel view without its window: which versions take part, the rows
// of one verse, the page built from them, and what a copied verse cites. Texts are CP949.

inline constexpr int kParallelVersions = 7;
inline constexpr int kAllParallelVersions = 127;
// The page is gathered in a buffer of this size.
inline constexpr std::size_t kParallelBufferSize = 40960;

// The version of index 0-6 (VRA VRB VRC VRE KJV NIV TEV) and its bracketed label
// ("성경전서 역본 가" ... "Today's English Version"); empty for other indexes.
std::string parallelVersionCode(int index);
std::string parallelLabel(int index);
// Index of a full label, or -1.
int parallelIndexOfLabel(std::string_view label);

// One row of `PARALLEL`: the version index digit and the verse in markup.
struct ParallelRow {
    std::string versionCode;
    std::string body;
};
std::vector<ParallelRow> parallelRows(Database& db, std::string_view book, std::string_view chap,
                                      std::string_view verse);

// Each chosen version's label in bold brackets, then its rows' texts with line ends turned
// into blanks; a chosen version without a row says so under its label. A piece goes in
// only while it leaves 10 bytes of the buffer free; `complete` is false when one did not.
struct ParallelPage {
    std::string markup;
    bool complete = true;
};
ParallelPage parallelPage(const std::vector<ParallelRow>& rows, int mask,
                          std::size_t capacity = kParallelBufferSize);

// A place key "gen001016" or "gen00116-17": book, then chapter and verse without their
// leading '0's. A Bible window's full key ("VRAjhn003016") names the same place. An
// empty key gives nothing.
struct ParallelPlace {
    std::string book, chapter, verse;
    bool operator==(const ParallelPlace&) const = default;
};
std::optional<ParallelPlace> parseParallelKey(std::string_view key);

// The book list's source: `VRA` when it has chapters of the book, else the first chosen
// version that has some (partial editions), else `VRA`.
std::string parallelListVersion(Database& db, std::string_view book, int mask);

// The version paragraph a piece of a parsed page lies in: its version index and its text
// (from the paragraph's first I tag up to the next label, without the verse numbers and
// the closing blanks). Nothing outside a paragraph.
struct ParallelVerse {
    int versionIndex = -1;
    std::string text;
};
std::optional<ParallelVerse> parallelVerseAt(const MarkupNode* piece);

} // namespace qel
