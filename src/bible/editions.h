#pragma once

#include <string>
#include <vector>

namespace qel {

class Database;

// Where an edition's text came from, as the EDITION table of the content database says.
struct EditionInfo {
    std::string code, source, name, licence; // CP949
    // Of an imported or installed edition (empty for the built ones).
    std::string module, version, abbreviation, installed;
};

// The recorded editions in menu order; none when the database has no EDITION table.
std::vector<EditionInfo> readEditions(Database& content);

// Gives the editions that were imported or installed their own names in every title
// (versionShortTitle, versionFullTitle, editionWindowTitle); the built ones keep the slot's.
void useEditionNames(const std::vector<EditionInfo>& editions);

// A shortened title for places that need a short one: the module's abbreviation when it
// has one, else its name up to the first bracket or comma, cut at a word within 20 bytes.
std::string editionShortName(const EditionInfo& edition);

// The content build keeps a copy of each sample edition's rows (its verses as stored and its
// section titles), which imports never touch, so that a slot can be given its sample back.
constexpr const char* kSampleVerseTable = "SAMPLE_VERSE";
constexpr const char* kSampleTitleTable = "SAMPLE_TITLE";
// The database keeps the slot's sample.
bool slotHasSampleCopy(Database& content, const std::string& code);

// The slot holds the sample text the program was built with.
bool editionIsSample(const EditionInfo& edition);
bool slotHoldsSample(Database& content, const std::string& code);

} // namespace qel
