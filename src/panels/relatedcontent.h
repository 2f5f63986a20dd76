#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qel {

class Database;

// The largest related-content text the panel takes, in bytes.
inline constexpr std::size_t kRelatedContentLimit = 30000;

// The chapter as the related-content table stores it: at most two leading zeros go, so
// "001" is "1", "100" stays and "000" is "0".
std::string relatedChapter(std::string_view chapter);

struct RelatedContent {
    std::string body;     // markup; empty without a row or when too long
    bool tooLong = false; // the row's text was over the limit
};

// The first related-content row of a verse; throws DatabaseError.
RelatedContent relatedContentOf(Database& db, std::string_view book, std::string_view chapter,
                                std::string_view verse);

} // namespace qel
