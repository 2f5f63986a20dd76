#include "reference/articleload.h"

#include "bible/biblequeries.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "reference/articletrees.h"

#include <algorithm>
#include <array>

namespace qel {
namespace {

constexpr std::array<ArticleKindInfo, articlekind::Count> kKinds = {{
    {"BOOK", "책별 안내", "BOOK"},
    {"UNITS", "도량형 및 화폐단위", "UNITS"},
    {"TERM", "용어 해설", "TERM"},
    {"CRI", "본문 비평 주", "CRI"},
}};

// Textual notes are kept per book; the rest of the id names a place in them.
constexpr std::size_t kBookCodeLength = 3;

LoadedArticle readRow(Database& db, std::string_view table, ArticleAddress address,
                      std::string_view requested) {
    LoadedArticle loaded;
    RecordSet rs(db, sql::article(table, address.rowId));
    loaded.found = !rs.isEOF();
    loaded.markup = loaded.found ? bufferedBody(rs.text("body")) : missingArticleNotice(requested);
    loaded.address = std::move(address);
    return loaded;
}

} // namespace

const ArticleKindInfo& articleKindInfo(int kind) {
    return kind >= 0 && kind < articlekind::Count ? kKinds[kind] : kKinds[articlekind::Book];
}

ArticleAddress articleAddress(int kind, std::string_view requested) {
    ArticleAddress address;
    const std::size_t first = requested.find_first_not_of('0');
    address.id = first == std::string_view::npos ? "0" : std::string(requested.substr(first));
    address.rowId = address.id;
    if (kind == articlekind::Criticism && address.id.size() > kBookCodeLength) {
        address.rowId = address.id.substr(0, kBookCodeLength);
        address.anchor = address.id.substr(kBookCodeLength);
    }
    return address;
}

std::string bufferedBody(std::string_view body) {
    std::string buffer(std::max(kArticleBufferSize, body.size() + kArticleEndBytes), '\0');
    body.copy(buffer.data(), body.size());
    buffer.resize(buffer.find('\0'));
    return buffer;
}

std::string missingArticleNotice(std::string_view requested) {
    std::string shown;
    for (char c : requested)
        if (c != '{' && c != '}')
            shown.push_back(c);
    return utf8ToCp949("{B}이 항목의 글이 없습니다: ") + shown;
}

LoadedArticle loadArticle(Database& db, int kind, std::string_view requested) {
    return readRow(db, articleKindInfo(kind).table, articleAddress(kind, requested), requested);
}

LoadedArticle loadArticle(Database& db, std::string_view table, std::string_view id) {
    return readRow(db, table, {std::string(id), std::string(id), {}}, id);
}

} // namespace qel
