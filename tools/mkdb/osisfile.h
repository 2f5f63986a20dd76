#pragma once

#include "mkdb/osisconverter.h"
#include "mkdb/sourcerecords.h"

#include <filesystem>
#include <istream>
#include <string>

namespace qel::mkdb {

// Reads an OSIS XML file with expat: verses as containers or as sID/eID milestones, a
// list of osisIDs ("Gen.1.3 Gen.1.4 Gen.1.5") as the range "3-5". Section titles before
// a verse go to the titles. Throws SourceError "file:line: reason" for malformed XML or
// a verse outside a known form.
ImportedText readOsisFile(const std::filesystem::path& file, const ConvertOptions& options = {});
ImportedText readOsis(std::istream& in, const std::string& fileName,
                      const ConvertOptions& options = {});

// Book code of an OSIS book name ("Gen", "1Sam", "EsthGr"); empty when we have none.
std::string_view osisBookCode(std::string_view osisName);

} // namespace qel::mkdb
