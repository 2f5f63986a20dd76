#pragma once

#include "companion/journalstore.h"

#include <istream>
#include <ostream>
#include <stdexcept>

// Reading plans and diary entries as a UTF-8 text file of tab-separated lines, for moving
// them between installations:
//   # QEL reading plans and diary 1
//   plan  CODE  START
//   read  CODE  DAY  READING  READ_ON
//   diary DATE  TITLE  PASSAGE  PASSAGE_KEY  PRAYER  TEXT
// A backslash escapes itself, tab (\t), line feed (\n) and carriage return (\r).
namespace qel {

class JournalFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void writeJournalFile(std::ostream& out, const JournalData& data);
// Reads the whole file; throws JournalFileError naming the line of the first fault
// (unknown kind, missing field, bad date or number) before anything is used.
JournalData readJournalFile(std::istream& in);

} // namespace qel
