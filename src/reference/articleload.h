#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qel {

class Database;

// What names an article kind: the document type, the window title (UTF-8) and the table
// its bodies live in.
struct ArticleKindInfo {
    const char* documentType;
    const char* windowTitle;
    const char* table;
};
// Kinds out of range get the book guides.
const ArticleKindInfo& articleKindInfo(int kind);

// Bodies are copied into a buffer of this size and ended with four zero bytes; a longer body
// gets a larger buffer, never a cut one.
constexpr std::size_t kArticleBufferSize = 40960;
constexpr std::size_t kArticleEndBytes = 4;

// Where a requested id leads: the window's current id (leading zeros dropped, "0" when
// nothing is left), the row to read and, for textual notes, the anchor inside that book's
// notes (the id from its fourth character on).
struct ArticleAddress {
    std::string id;
    std::string rowId;
    std::string anchor;
};
ArticleAddress articleAddress(int kind, std::string_view requested);

// The body as the parser reads it from the buffer: up to the first zero byte, whole however
// long it is.
std::string bufferedBody(std::string_view body);

// The one line shown in place of an article that has no row (markup, CP949).
std::string missingArticleNotice(std::string_view requested);

// The outcome of loading an id: `found` false gives the notice as `markup`.
struct LoadedArticle {
    bool found = false;
    ArticleAddress address;
    std::string markup;
};
LoadedArticle loadArticle(Database& db, int kind, std::string_view requested);
// One row of a table without a tree (the introductory articles), read as above.
LoadedArticle loadArticle(Database& db, std::string_view table, std::string_view id);

} // namespace qel
