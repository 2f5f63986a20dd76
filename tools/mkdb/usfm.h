#pragma once

#include "mkdb/osisconverter.h"
#include "mkdb/sourcerecords.h"

#include <filesystem>
#include <istream>
#include <string>

namespace qel::mkdb {

// Reads every .usfm/.sfm file of `folder` (one book each, named by its \id line), in
// canonical book order. \s headings go to the titles, \d to a heading at the start of the
// verse, \f notes to footnote markers, \add to italics, \wj to words of Jesus; \x cross
// references, \w attributes (Strong's numbers) and introduction matter are dropped.
// Throws SourceError "file:line: reason" for a file without \id or text before \c/\v.
ImportedText readUsfmFolder(const std::filesystem::path& folder,
                            const ConvertOptions& options = {});

// One book's file, appended to `out` in file order.
void readUsfmBook(std::istream& in, const std::string& fileName, const ConvertOptions& options,
                  ImportedText& out);

// Book code of a USFM book id ("GEN", "1SA", "ESG"); empty when we have none.
std::string_view usfmBookCode(std::string_view id);

} // namespace qel::mkdb
