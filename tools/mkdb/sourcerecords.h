#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qel::mkdb {

// One row of a version table as read from a source, in UTF-8 markup.
struct SourceVerse {
    std::string book;        // book code, e.g. "gen"
    std::string chapter;     // "1"
    std::string verse;       // "1" or a range such as "3-5"
    std::string body;        // markup
    std::string origin = {}; // "file:line" of an imported verse, for messages
};

// A section title of a book: its text ends with the place it stands before, "[3:16]".
struct TitleRecord {
    std::string book;
    std::string body;
};

// Thrown for malformed input; what() reads "file:line: reason".
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What an import source yields, in UTF-8 markup. A verse of a book the source names but
// we have no code for keeps that name as its book.
struct ImportedText {
    std::vector<SourceVerse> verses;
    std::vector<TitleRecord> titles;
};

// Input quoted for a message: in double quotes, with control characters as \xNN so that
// none of them can move the cursor or clear the terminal that shows it; at most 60 bytes.
std::string quotedInput(std::string_view text);

// Appends the section titles of a verse with their place ("[3:16]"; a range gives its
// first verse) to `out`.
void addSectionTitles(const SourceVerse& verse, const std::vector<std::string>& titles,
                      std::vector<TitleRecord>& out);

} // namespace qel::mkdb
