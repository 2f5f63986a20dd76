#pragma once

#include <string>
#include <string_view>
#include <vector>

// Query texts of the verse search. The dialog builds phrases ("주의 율법"), " && " and
// " || " forms; the engine's own analysed form starts with "@" and marks each word:
// "=그" as written, "!함께" a determiner or adverb (the word alone), "짓-" a predicate stem,
// "성전2" a noun with the homonym the reader chose, parts of a compound joined by "/". "&&"/"&" is
// AND,
// "||"/"|" is OR; a phrase binds tightest, then AND, then OR.
namespace qel {

enum class QueryWordKind : unsigned char { Surface, Literal, Noun, Predicate, Modifier };
enum class QueryJoin : unsigned char { Phrase, And, Or };

struct QueryWord {
    std::string raw;     // as typed (CP949)
    std::u32string text; // normalised word or stem, markers removed
    QueryWordKind kind = QueryWordKind::Surface;
};

struct ParsedQuery {
    std::vector<QueryWord> words;
    std::vector<QueryJoin> joins; // joins[i] stands between words[i] and words[i + 1]
    bool analysed = false;        // the "@" form
};

enum class QueryParse : unsigned char { Ok, Empty, Malformed, TooManyWords };

constexpr std::size_t kMaxQueryWords = 63;

// Reads a CP949 query. Runs of the same operator count once and operators at either end
// are ignored; AND directly against OR is malformed.
QueryParse parseQueryText(std::string_view cp949, ParsedQuery& out);

// The query as CP949 text: words by their raw text, joined by " ", " && " or " || ".
std::string formatQueryText(const ParsedQuery& query);

// OR groups of AND groups of phrases, as word indexes.
using QueryPhrase = std::vector<std::size_t>;
std::vector<std::vector<QueryPhrase>> queryGroups(const ParsedQuery& query);

} // namespace qel
