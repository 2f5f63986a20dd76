#include "reference/articletext.h"

#include "platform/codec.h"
#include "platform/database.h"
#include "reference/articleload.h"
#include "reference/articletrees.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"

#include <algorithm>

namespace qel {
namespace {

// The trigram tokenizer finds runs of at least this many characters through its index.
constexpr std::size_t kIndexedRun = 3;

// Tags after which the text goes on on a new line.
bool endsLine(char id) {
    return id == 'B' || id == 'T' || id == 'h' || id == 'c' || id == 'r';
}

// Only ASCII letters are folded: the index folds them the same way, and Korean has no case.
std::string foldedUtf8(std::string_view cp949) {
    std::string text = cp949ToUtf8(cp949);
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string quotedPhrase(std::string_view text) {
    std::string phrase = "\"";
    for (char c : text) {
        phrase.push_back(c);
        if (c == '"')
            phrase.push_back('"');
    }
    return phrase + "\"";
}

} // namespace

std::string articlePlainText(std::string_view markup) {
    MarkupNodeList list;
    MarkupParser::parse(&list, markup);
    std::string text;
    for (const MarkupNode* node = list.head(); node; node = node->next()) {
        if (node->isText())
            text += node->text;
        else if (endsLine(node->GetID()) && !text.empty() && text.back() != '\n')
            text.push_back('\n');
    }
    return text;
}

void buildArticleTextIndex(Database& db) {
    db.execute("create virtual table " + std::string(kArticleTextTable) +
               " using fts5(tbl unindexed, id unindexed, body, tokenize = 'trigram')");
    for (int kind = 0; kind < articlekind::Count; ++kind) {
        const std::string table = articleKindInfo(kind).table;
        if (!db.hasTable(table))
            continue;
        std::vector<std::pair<std::string, std::string>> rows;
        for (RecordSet rs(db, "select id, body from " + table + " order by rowid"); !rs.isEOF();
             rs.moveNext())
            rows.emplace_back(rs.field("id"), cp949ToUtf8(articlePlainText(rs.field("body"))));
        for (const auto& [id, body] : rows)
            db.execute("insert into " + std::string(kArticleTextTable) +
                           " (tbl, id, body) values (?, ?, ?)",
                       {table, id, body});
    }
}

bool hasArticleTextIndex(Database& db) {
    return db.hasTable(kArticleTextTable);
}

std::vector<std::string> searchArticleText(Database& db, std::string_view table,
                                           std::string_view needle) {
    std::vector<std::string> ids;
    const std::string text = foldedUtf8(needle);
    if (text.empty() || !hasArticleTextIndex(db))
        return ids;
    const std::string from = "select id from " + std::string(kArticleTextTable) + " where tbl = ? ";
    const bool indexed = characterCount(text) >= kIndexedRun;
    RecordSet rs(db,
                 indexed
                     ? from + "and " + std::string(kArticleTextTable) + " match ? order by rowid"
                     : from + "and instr(lower(body), ?) > 0 order by rowid",
                 {std::string(table), indexed ? quotedPhrase(text) : text});
    for (; !rs.isEOF(); rs.moveNext())
        ids.push_back(rs.field("id"));
    return ids;
}

MarkupNode* firstTextMatch(const MarkupNodeList& list, std::string_view needle) {
    const std::string wanted = foldedUtf8(needle);
    if (wanted.empty())
        return nullptr;
    // The pieces' text joined, with where each piece starts in it.
    std::string joined;
    std::vector<std::pair<std::size_t, MarkupNode*>> starts;
    for (MarkupNode* node = list.head(); node; node = node->next())
        if (node->isText()) {
            starts.emplace_back(joined.size(), node);
            joined += foldedUtf8(node->text);
        }
    const std::size_t at = joined.find(wanted);
    if (at == std::string::npos)
        return nullptr;
    const auto piece = std::upper_bound(
        starts.begin(), starts.end(), at,
        [](std::size_t offset, const auto& start) { return offset < start.first; });
    return std::prev(piece)->second;
}

} // namespace qel
