#pragma once

#include "study/notestore.h"

#include <functional>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// Notes as a UTF-8 CSV file (RFC 4180) with the header
// "version,book,chapter,verse,note,citation", for moving them between installations.
namespace qel {

class NoteCsvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The citation column of a note (UTF-8), such as "역본 가 창 1:1".
using NoteCitation = std::function<std::string(const NoteKey&)>;

void writeNotesCsv(std::ostream& out, const std::vector<Note>& notes, const NoteCitation& cite);

// Reads a file written by writeNotesCsv or by hand: the header names the columns, in any
// order; "citation" and unknown columns are ignored. Throws NoteCsvError with the line of
// the first fault (missing column, open quote, a row without version, book, chapter or
// verse), before anything is used.
std::vector<Note> readNotesCsv(std::istream& in);

// The citation of the export: version short title, the book's abbreviation, chapter:verse.
std::string noteCitation(const NoteKey& key);

} // namespace qel
