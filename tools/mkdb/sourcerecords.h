#pragma once

#include <stdexcept>
#include <string>

namespace qel::mkdb {

// One row of a version table as read from a source, in UTF-8 markup.
struct SourceVerse {
    std::string book;    // book code, e.g. "gen"
    std::string chapter; // "1"
    std::string verse;   // "1" or a range such as "3-5"
    std::string body;    // markup
};

// Thrown for malformed input; what() reads "file:line: reason".
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace qel::mkdb
