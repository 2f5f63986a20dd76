#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

class Database;
class MarkupNode;
class MarkupNodeList;

// The full-text index of the article bodies: one row per article of the tables BOOK, UNITS,
// TERM and CRI, its plain text in UTF-8 under the trigram tokenizer, so that any run of
// three characters, Korean or English, is found through the index.
inline constexpr std::string_view kArticleTextTable = "ARTICLETEXT";

// The words of a markup text without its tags (CP949); breaks, headings and table cells
// end a line so that no word runs into the next.
std::string articlePlainText(std::string_view markup);

// Creates and fills the index from the article tables of `db` (the builder's step).
void buildArticleTextIndex(Database& db);
bool hasArticleTextIndex(Database& db);

// Ids of the articles of `table` whose text holds `needle` (CP949), English letters
// without regard to case, in the order the articles were stored. Shorter needles than three
// characters are matched by a scan of the indexed text.
std::vector<std::string> searchArticleText(Database& db, std::string_view table,
                                           std::string_view needle);

// The first laid-out text piece where `needle` (CP949) begins, found across piece
// boundaries and without regard to the case of English letters; null when absent.
MarkupNode* firstTextMatch(const MarkupNodeList& list, std::string_view needle);

} // namespace qel
