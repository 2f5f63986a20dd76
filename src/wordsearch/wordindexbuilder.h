#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

class Database;

struct WordIndexStats {
    std::size_t verses = 0;
    std::size_t words = 0;      // running words of the text
    std::size_t vocabulary = 0; // distinct words
    std::size_t bytes = 0;      // size of the index file
};

// The version code of a word-search version index ("VRA" for 0); empty when out of range.
std::string_view wordSearchVersion(int index);

// Builds the word index of one version from its text table in the content database.
// Returns false and writes nothing when the version has no text. The file is replaced only
// once it is complete. Throws DatabaseError or std::runtime_error when it cannot be built.
bool buildWordIndex(Database& content, std::string_view versionCode, const std::string& outFile,
                    WordIndexStats* stats = nullptr);

// Writes "%d.m14" into `folder` for every version index that has text and removes the
// index of a version that has none. Returns the paths written.
std::vector<std::string> buildWordIndexes(Database& content, const std::string& folder);

} // namespace qel
