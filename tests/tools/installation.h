#pragma once

// A small installation as the import and the SWORD install find it: Data/DB/Bible.m14 with
// a VRA sample of two verses and a title, its word indexes and its verse index.

#include "mkdb/contentbuilder.h"

#include "platform/database.h"
#include "versesearch/verseindexbuilder.h"
#include "wordsearch/wordindexbuilder.h"

#include "../support/files.h"

#include <filesystem>
#include <map>
#include <string>

inline void buildSmallInstallation(const std::filesystem::path& data) {
    qel::mkdb::ContentSources sources;
    sources.versions["VRA"] = {{"gen", "1", "1", "맨 처음에 하나님께서"},
                               {"gen", "1", "2", "땅이"}};
    sources.titles["VRA"] = {{"gen", "옛 제목 [1:1]"}};
    const std::string db = (data / "DB" / "Bible.m14").string();
    qel::mkdb::buildContentDatabase(sources, db, [](const std::string&) {});
    qel::Database content(db, qel::Database::Mode::ReadOnly);
    qel::buildWordIndexes(content, (data / "M14").string());
    auto quiet = [](const std::string&) {};
    qel::buildVerseIndex(db, (data / "DBF").string(),
                         qel::readAnalysisSources(qel::kHanjaTablePath, "", quiet), quiet);
}

// Every file below `folder`, byte for byte; the lock of a running install is no content.
inline std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename() != "install.lock")
            files[entry.path().string()] = fileBytes(entry.path());
    return files;
}
