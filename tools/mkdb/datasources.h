#pragma once

#include "mkdb/sourcerecords.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qel::mkdb {

struct RefRecord {
    std::string book, chapter, verse, body;
};

struct ArticleRecord {
    std::string id, body;
};

// Everything the content database is built from, in UTF-8.
struct ContentSources {
    std::map<std::string, std::vector<SourceVerse>> versions; // by version code
    std::map<std::string, std::vector<TitleRecord>> titles;   // by version code
    std::vector<RefRecord> related;
    std::map<std::string, std::vector<ArticleRecord>> articles; // by table name
};

// Reads the sample sources below `dataDir` (text/CODE/BOOK.txt, titles/CODE.txt, ref.txt,
// articles/TABLE.txt). Throws SourceError naming file and line for malformed input.
ContentSources readDataFolder(const std::filesystem::path& dataDir);

// Calls `record` with the `count` TAB-separated fields of every record line of a UTF-8
// source ('#' lines and empty lines skipped). Throws SourceError for a line with another
// number of fields, an empty field after the first, or text CP949 cannot hold.
void forEachFields(const std::filesystem::path& file, std::size_t count,
                   const std::function<void(int line, std::vector<std::string> fields)>& record);

// Single files, for the folder reader and tests.
std::vector<SourceVerse> readVerseFile(const std::filesystem::path& file, const std::string& book);
std::vector<TitleRecord> readTitleFile(const std::filesystem::path& file);
std::vector<RefRecord> readRefFile(const std::filesystem::path& file);
std::vector<ArticleRecord> readArticleFile(const std::filesystem::path& file);

} // namespace qel::mkdb
