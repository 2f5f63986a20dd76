#pragma once

#include <string>
#include <string_view>

// The texts that the two search dialogs build and read: normalised queries, the engines'
// query and range texts, result rows and their copied and opened forms. All CP949.
namespace qel {

// Modes of both dialogs (radio group 1008) and the word search's types (group 1036).
enum SearchMode { kModePhrase = 0, kModeAnd = 1, kModeOr = 2 };
enum WordSearchType { kTypeBasic = 0, kTypeAllForms = 1 };

// Trimmed, every "," a blank, every "  " one blank in one left-to-right pass (so three
// blanks become two).
std::string normaliseSearchQuery(std::string_view query);

// Operators typed between the words name the mode: "faith AND hope" and "믿음 그리고 소망"
// search in mode "그리고", "faith OR hope" and "믿음 또는 소망" in mode "또는". Returns the
// query without them and the mode; a query without operators, or with both kinds, keeps
// its text and the mode chosen.
struct TypedQuery {
    std::string text;
    int mode = kModePhrase;
};
TypedQuery typedQueryMode(std::string_view query, int mode);

// The verse search's query: normalised and joined by mode (" && ", " || "), with the
// word count handed to the grid (1 for "또는").
struct VerseQuery {
    std::string text;
    int nWords = 1;
};
VerseQuery verseQuery(std::string_view query, int mode);

// True when a word of the query is made of initial letters only (ㅎㄴ) and too short to
// stand for a handful of words.
bool hasShortInitialsWord(std::string_view normalisedQuery);

// Radio index 0..2 to the engine's type 1..3; anything else is 1.
int verseEngineType(int searchTypeIndex);

// What the verse search passes as its range: the item text for 0..2 ("전체", "구약",
// "신약"), the book's abbreviation for a book; empty when the book is not in the table.
std::string verseRangeText(int rangeIndex, std::string_view itemText);

// The cell text of a verse search row: with centring and a first hit after word 3, the
// words before it but two are dropped and the positions follow. Positions are separated by
// "|" or "#"; the cell is each position as "%d|", one more "|", then the text.
std::string verseRowCell(std::string_view text, std::string_view positions, bool center);

// The word search's query text for the word-variant library.
std::string wordQueryText(std::string_view normalisedQuery, int mode, int type);

// "all", "old", "new", or the book code of the version's book of that name.
std::string wordRangeText(int rangeIndex, std::string_view bookName, std::string_view versionCode);

// A word search reference ("KJVjhnJn 3:16"): book from byte 6, chapter ("1" for any chapter
// text that begins with "0"), verse ("0" when the reference has no ":").
struct WordReference {
    std::string book, chapter, verse;
};
WordReference splitWordReference(std::string_view reference);

// The shown verse text of a word search row: whole without centring or without a match;
// else from three words before the phrase, or two words before the first word found.
std::string centredWordText(std::string_view verse, std::string_view query, int mode, int type,
                            bool center);

// The grid's highlight words: the query with every double quote and "," a blank.
std::string wordHighlightText(std::string_view query);

// The versions of the word search, by the editions' word-index numbers: combo item, version
// code, title in copied text.
struct WordSearchVersionInfo {
    std::string item, code, copyTitle;
};
int wordSearchVersionCount();
// The titles are the editions' own short titles; any other index gives the first.
WordSearchVersionInfo wordSearchVersionInfo(int index);
// English versions' ranges start "Bible", "Old Testament", ...
bool isEnglishWordSearchVersion(int index);

// Copied lines of result rows, with their citations.
std::string verseResultCopyLine(std::string_view cell3, std::string_view abbreviation,
                                std::string_view chapter, std::string_view verse);
std::string wordResultCopyLine(int versionIndex, std::string_view book, std::string_view chapter,
                               std::string_view verse, std::string_view text);

// Command keys that open a result; empty when the book is unknown (the header row).
std::string verseResultCommandKey(std::string_view abbreviation, std::string_view chapter,
                                  std::string_view verse);
std::string wordResultCommandKey(std::string_view versionCode, std::string_view book,
                                 std::string_view chapter, std::string_view verse);

} // namespace qel
