#pragma once

#include <string>
#include <string_view>
#include <vector>

// The verse search's result file ("out.dat"): records ended by "^", the list ended by a
// record that is "*" alone. A record is a reference, "#" and the hit word positions joined
// by "#", and a line end: 창1:1#3#7\n^ ... ^*
namespace qel {

constexpr std::size_t kResultRecordLimit = 631;

struct VerseHits {
    std::string reference;      // book abbreviation + chapter + ":" + verse (CP949)
    std::vector<int> positions; // 1-based word positions in the verse's display text
};

// The records of `hits` in order. A verse whose positions do not fit one record is written
// as several records of the same reference.
std::string formatResultRecords(const std::vector<VerseHits>& hits);

// Writes the file; false with errno set when it cannot be written.
[[nodiscard]] bool writeResultFile(const std::string& path, const std::vector<VerseHits>& hits);

// Splits the file text into records: a record ends at the first "^" or "*"; an empty record
// ended by "*" ends the list, as does the end of the text, where a last cut record is kept
// when it holds 4 bytes or more. Records longer than kResultRecordLimit are cut to it.
std::vector<std::string> readResultRecords(std::string_view text);

// The hit position text of a record: what follows its first "#", without a last
// character that is not a digit. False when the record has no "#".
bool hitPositionText(std::string_view record, std::string& positions);

// A reference split from its end: verse = trailing digits and "-", one separator, chapter =
// the digits and "-" before it, book = the rest. False unless all three are non-empty.
struct ResultReference {
    std::string book, chapter, verse;
};
bool splitResultReference(std::string_view reference, ResultReference& out);

} // namespace qel
