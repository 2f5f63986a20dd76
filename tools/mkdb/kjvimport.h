#pragma once

#include "mkdb/sourcerecords.h"

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace qel::mkdb {

// Reads a SWORD "imp" export (mod2imp) of the KJV: one SourceVerse per verse record,
// in file order. Heading records (verse 0) yield no row; a heading they carry, such as
// a Psalm title, goes to the start of the next verse. Throws SourceError
// ("fileName:line: reason") for a malformed record header or an unknown book name.
std::vector<SourceVerse> readKjvImp(std::istream& in, const std::string& fileName);

// Converts one verse of OSIS to our markup: italics {F VAL=I}..{/F}, Psalm titles
// {H}..{/H} at the start, translators' notes {N TEX="..."}*{/N}; other tags are dropped
// but keep their text.
std::string osisToMarkup(std::string_view osis);

} // namespace qel::mkdb
