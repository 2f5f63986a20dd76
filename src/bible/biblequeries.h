#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

class Database;

// The article tables of the content database.
inline constexpr std::array<std::string_view, 5> kArticleTables = {"ETC", "BOOK", "TERM", "UNITS",
                                                                   "CRI"};

// The SQL texts of the content database. Values are escaped, so an apostrophe in a book
// name or a search text cannot change a query; version codes become table names only
// after they are checked against the known versions.
namespace sql {
std::string chapterText(std::string_view version, std::string_view book, std::string_view chap);
std::string chapterList(std::string_view version, std::string_view book);
std::string verseList(std::string_view version, std::string_view book, std::string_view chap);
// The rows of one verse in the comparable versions: a merged verse "16-17" reads both
// verses, and a verse reads the merged row of an edition that holds it within one.
std::string parallelVerse(std::string_view book, std::string_view chap, std::string_view verse);
std::string relatedContent(std::string_view book, std::string_view chap, std::string_view verse);
std::string sectionTitles(std::string_view version, std::string_view book);
// Titles holding a text: bind sectionTitlePattern(text), in which wild cards and
// apostrophes of the text match themselves.
std::string sectionTitleSearch(std::string_view version);
std::string sectionTitlePattern(std::string_view text);
// table is one of kArticleTables.
std::string article(std::string_view table, std::string_view id);
} // namespace sql

// Table name of a version, "GNB" for its alias "TEV", empty for an unknown code.
std::string versionTable(std::string_view version);

// True when the database holds every table the reader needs with the columns it reads.
bool hasContentTables(Database& db);

// False for an edition whose table holds no text at all (NIV and GNB).
bool versionHasText(Database& db, std::string_view version);

std::vector<std::string> chaptersOf(Database& db, std::string_view version, std::string_view book);
std::vector<std::string> versesOf(Database& db, std::string_view version, std::string_view book,
                                  std::string_view chap);

struct VerseRow {
    std::string verse; // the label, "16" or a range such as "3-5"
    std::string body;  // markup
};
std::vector<VerseRow> chapterRows(Database& db, std::string_view version, std::string_view book,
                                  std::string_view chap);

// The chapter text of a Bible window is built in a buffer of this size, its terminating zero
// included; the importer refuses a verse that could never fit.
inline constexpr std::size_t kChapterBufferSize = 30000;

// The page a Bible window shows: "{S VAL=%s}{/S}%s" per verse with line ends turned into
// blanks. Reading stops at the first verse that would not fit in `capacity` bytes (the
// terminating zero counted); `complete` tells whether every verse fit.
struct ChapterPage {
    std::string markup;
    bool complete = true;
};
ChapterPage chapterPage(const std::vector<VerseRow>& rows, std::size_t capacity);

} // namespace qel
