#pragma once

#include "mkdb/osisconverter.h"
#include "mkdb/sourcerecords.h"

#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace qel::mkdb {

// The markup a SWORD module stores its verses in.
enum class SourceMarkup { Osis, Thml, Gbf };

// Reads a SWORD "imp" export (mod2imp) of a module: one SourceVerse per verse
// record, in file order. Heading records (verse 0) yield no row; a heading they carry,
// such as a Psalm title, goes to the start of the next verse, and section titles go to
// the titles. Books without a code keep their SWORD name. Throws SourceError
// ("fileName:line: reason") for a malformed record header.
ImportedText readImp(std::istream& in, const std::string& fileName,
                     const ConvertOptions& options = {}, SourceMarkup markup = SourceMarkup::Osis);

// The KJV as the content build stores it: the imp reader without words-of-Jesus runs,
// every book known, fitted to CP949; `notice` hears what the fitting left out.
std::vector<SourceVerse> readKjvImp(std::istream& in, const std::string& fileName,
                                    const std::function<void(const std::string&)>& notice = {});

// Converts one verse of a module's OSIS to our markup (see OsisConverter).
std::string osisToMarkup(std::string_view osis, const ConvertOptions& options = {false});

// Book code of a SWORD book name ("I Samuel", "1 Samuel", "Revelation of John"); empty
// when we have none.
std::string_view swordBookCode(std::string_view name);

} // namespace qel::mkdb
