#pragma once

#include "platform/codec.h"
#include "platform/database.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The verse index that the build made beside the built content database, and the raw VRA
// rows of that database to check results against.
namespace verseindexfixture {

inline std::string indexFolder() {
    return (std::filesystem::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path() / "DBF")
        .string();
}

struct RawVerse {
    std::string book, chapter, verse, body; // body as UTF-8 markup
};

inline const std::vector<RawVerse>& rawVerses() {
    static const std::vector<RawVerse> rows = [] {
        std::vector<RawVerse> out;
        qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
        qel::RecordSet rs(db, "select volcode, chap, sec, body from VRA order by sequence");
        for (; !rs.isEOF(); rs.moveNext())
            out.push_back({rs.field("volcode"), rs.field("chap"), rs.field("sec"),
                           qel::cp949ToUtf8(rs.field("body"))});
        return out;
    }();
    return rows;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::string cp(const char* utf8) {
    return qel::utf8ToCp949(utf8);
}

} // namespace verseindexfixture
