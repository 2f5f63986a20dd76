#pragma once

#include "mkdb/contentbuilder.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qel::mkdb {

struct ImportRequest {
    std::string source; // SWORD module name, OSIS file or USFM folder
    // A SWORD folder (mods.d/, modules/) searched for the module before the usual ones.
    std::string swordFolder;
    std::string code;   // edition slot: VRA VRB VRC VRD VRE KJV NIV GNB
    std::string dbPath; // Data/DB/Bible.m14; the indexes live beside DB/ in M14/ and DBF/
    // A Data/ folder whose database and indexes are copied to dbPath's place first when
    // there is no database there yet (the reader's first import into his own folder).
    std::string seedFrom;
    bool replace = false; // characters CP949 cannot hold become "?" instead of failing
    bool wordsOfJesus = true;
    ProgressFn progress;
    const std::atomic<bool>* cancel = nullptr; // polled; set it to abandon the import
    // Tests: called before each change of the final swap (see commitDataSwap).
    std::function<void(int step)> swapStep;
};

struct ImportReport {
    std::size_t verses = 0, titles = 0;
    std::size_t skipped = 0;                  // verses of books outside the slot's table
    std::vector<std::string> skippedExamples; // "tob 1:1"
    std::size_t replaced = 0;                 // characters turned into "?"
    std::size_t simplified = 0;               // letters stored as their base letter
    std::size_t hebrewDropped = 0;            // Hebrew letters and points left out
    EditionRecord edition;
};

// Reads the source, fits it to the slot's book table and to CP949, and rewrites the slot's
// version table, section titles, CHAPTER and PARALLEL rows, its EDITION row, its word index
// and, for VRA, the verse index. Everything is written beside the old files and moved over
// them in one swap only when all of it worked: a failure or a cancel leaves them as they
// were, and an import killed during the swap is finished by the next one or by the program's
// next start. Holds the Data/ folder's lock meanwhile; another import there waits two seconds, then
// fails with "다른 가져오기가 진행 중입니다". Throws SourceError with a file:line or a plain
// reason.
ImportReport importEdition(const ImportRequest& request);

// Copies a file to a new one. Unlike std::filesystem::copy_file, whose error for a write cut
// short is a bare EIO, the std::filesystem::filesystem_error it throws carries the system's
// reason (ENOSPC, EDQUOT, EFBIG, …). A partial copy is removed.
void copyNewFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Gives the slot back the sample text the content build kept a copy of, with the built
// edition's record, through the same swap and index building as an import (`source` is
// not read). Throws SourceError when the database keeps no sample of the slot.
ImportReport restoreSample(const ImportRequest& request);

} // namespace qel::mkdb
