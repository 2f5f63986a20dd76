#pragma once

#include "mkdb/datasources.h"

#include <functional>
#include <string>
#include <vector>

namespace qel {

class Database;
}
namespace qel::mkdb {

using ProgressFn = std::function<void(const std::string& message)>;

// Writes the content database to `outFile` (replacing it only when the whole build worked).
// Bodies are converted to CP949; CHAPTER and PARALLEL are derived from the version tables.
void buildContentDatabase(const ContentSources& sources, const std::string& outFile,
                          const ProgressFn& progress);

// What the EDITION table says of a version: where its text came from, its name, licence.
struct EditionRecord {
    std::string code, source, name, licence; // UTF-8
    // Of an import: the SWORD module, its version and abbreviation, the day ("2026-12-07").
    std::string module, version, abbreviation, installed;
};

// The EDITION record the content build writes for a version.
EditionRecord builtEdition(const std::string& code);

// Rows of one version into its (empty) table, with its CHAPTER and PARALLEL rows.
// `bookDone` hears the number of verses written after each book.
using BookDoneFn = std::function<void(std::size_t versesDone)>;
void insertVersion(Database& db, const std::string& code, const std::vector<SourceVerse>& verses,
                   const BookDoneFn& bookDone = {});
// The same for verses whose bodies are stored already (CP949, with their verse mark).
void insertStoredVersion(Database& db, const std::string& code,
                         const std::vector<SourceVerse>& stored, const BookDoneFn& bookDone = {});
void insertTitles(Database& db, const std::string& code, const std::vector<TitleRecord>& titles);
// Creates the EDITION table when missing and replaces the version's row.
void recordEdition(Database& db, const EditionRecord& edition);

} // namespace qel::mkdb
