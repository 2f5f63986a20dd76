#pragma once

#include "study/bookmarkstore.h"
#include "study/highlightstore.h"
#include "study/notestore.h"

#include <functional>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// Notes, highlights and bookmarks as UTF-8 CSV files (RFC 4180), for moving them between
// installations. Notes have the header "version,book,chapter,verse,note,citation",
// highlights "version,book,chapter,verse,start,end,colour,citation", bookmarks
// "folder,name,key". A reader takes the columns in any order and ignores "citation" and
// unknown columns.
namespace qel {

class NoteCsvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The citation column of a note (UTF-8), such as "역본 가 창 1:1".
using NoteCitation = std::function<std::string(const NoteKey&)>;

void writeNotesCsv(std::ostream& out, const std::vector<Note>& notes, const NoteCitation& cite);

// Reads a file written by writeNotesCsv or by hand. Throws NoteCsvError with the line of
// the first fault (missing column, open quote, a row without version, book, chapter or
// verse), before anything is used.
std::vector<Note> readNotesCsv(std::istream& in);

void writeHighlightsCsv(std::ostream& out, const std::vector<Highlight>& highlights,
                        const NoteCitation& cite);
// As readNotesCsv; a span that is empty, or a colour out of range, is a fault too.
std::vector<Highlight> readHighlightsCsv(std::istream& in);

void writeBookmarksCsv(std::ostream& out, const std::vector<BookmarkEntry>& entries);
// As readNotesCsv; a row without a key is a fault unless it names only a folder.
std::vector<BookmarkEntry> readBookmarksCsv(std::istream& in);

// The file of highlights or bookmarks ("highlights", "bookmarks") that goes with a file of
// notes: "notes.csv" has "notes-highlights.csv" and "notes-bookmarks.csv" beside it.
std::string besideNotesCsv(const std::string& notesFile, std::string_view kind);

// The citation of the export: version short title, the book's abbreviation, chapter:verse.
std::string noteCitation(const NoteKey& key);

} // namespace qel
