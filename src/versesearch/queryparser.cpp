#include "versesearch/queryparser.h"

#include "language/koreanjamo.h"
#include "platform/codec.h"
#include "platform/text.h"

namespace qel {

namespace {

struct Token {
    std::string text;
    char op = 0; // '&' or '|' for operators
};

// Byte-level split; '&', '|' and blanks never occur inside a CP949 double-byte character.
std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (isAsciiSpace(c)) {
            ++i;
        } else if (c == '&' || c == '|') {
            std::size_t j = i;
            while (j < s.size() && s[j] == c)
                ++j;
            tokens.push_back({std::string(), c});
            i = j;
        } else {
            std::size_t j = i;
            while (j < s.size() && !isAsciiSpace(s[j]) && s[j] != '&' && s[j] != '|')
                j += characterLength(s, j);
            tokens.push_back({std::string(s.substr(i, j - i)), 0});
            i = j;
        }
    }
    return tokens;
}

// One word of the analysed form.
bool readAnalysedWord(const std::u32string& token, QueryWord& w) {
    std::u32string t = token;
    if (!t.empty() && (t.front() == U'=' || t.front() == U'!')) {
        w.kind = t.front() == U'=' ? QueryWordKind::Literal : QueryWordKind::Modifier;
        w.text = korean::normaliseWord(t.substr(1));
        return !w.text.empty();
    }
    if (!t.empty() && t.back() == U'-') {
        w.kind = QueryWordKind::Predicate;
        w.text = korean::normaliseWord(t.substr(0, t.size() - 1));
        return !w.text.empty();
    }
    w.kind = QueryWordKind::Noun;
    std::u32string stem;
    for (char32_t c : t) {
        if (c >= U'0' && c <= U'9' && !stem.empty() && korean::isSyllable(stem.back())) {
            // The homonym number does not narrow the search: the text is written in hangul
            // alone, so nothing tells which meaning an occurrence has.
            continue;
        } else if (c == U'/') {
            continue; // compound parts are searched as one stem
        } else if (korean::isWordChar(c)) {
            stem.push_back(c);
        }
    }
    w.text = korean::normaliseWord(stem);
    return !w.text.empty();
}

} // namespace

QueryParse parseQueryText(std::string_view cp949, ParsedQuery& out) {
    out = ParsedQuery();
    std::size_t start = 0;
    while (start < cp949.size() && isAsciiSpace(cp949[start]))
        ++start;
    if (start < cp949.size() && cp949[start] == '@') {
        out.analysed = true;
        ++start;
    }
    char pendingOp = 0;
    for (const Token& tok : tokenize(cp949.substr(start))) {
        if (tok.op) {
            if (pendingOp && pendingOp != tok.op)
                return QueryParse::Malformed;
            pendingOp = tok.op;
            continue;
        }
        QueryWord w;
        w.raw = tok.text;
        const std::u32string u = utf8ToUtf32(cp949ToUtf8(tok.text));
        if (out.analysed) {
            if (!readAnalysedWord(u, w))
                continue;
        } else {
            w.text = korean::normaliseWord(u);
            if (w.text.empty())
                continue;
        }
        if (out.words.size() >= kMaxQueryWords)
            return QueryParse::TooManyWords;
        if (!out.words.empty())
            out.joins.push_back(pendingOp == '&'   ? QueryJoin::And
                                : pendingOp == '|' ? QueryJoin::Or
                                                   : QueryJoin::Phrase);
        pendingOp = 0;
        out.words.push_back(std::move(w));
    }
    return out.words.empty() ? QueryParse::Empty : QueryParse::Ok;
}

std::string formatQueryText(const ParsedQuery& query) {
    std::string out;
    for (std::size_t i = 0; i < query.words.size(); ++i) {
        if (i > 0) {
            switch (query.joins[i - 1]) {
            case QueryJoin::Phrase:
                out += ' ';
                break;
            case QueryJoin::And:
                out += " && ";
                break;
            case QueryJoin::Or:
                out += " || ";
                break;
            }
        }
        out += query.words[i].raw;
    }
    return out;
}

std::vector<std::vector<QueryPhrase>> queryGroups(const ParsedQuery& query) {
    std::vector<std::vector<QueryPhrase>> groups;
    if (query.words.empty())
        return groups;
    groups.push_back({{0}});
    for (std::size_t i = 1; i < query.words.size(); ++i) {
        switch (query.joins[i - 1]) {
        case QueryJoin::Phrase:
            groups.back().back().push_back(i);
            break;
        case QueryJoin::And:
            groups.back().push_back({i});
            break;
        case QueryJoin::Or:
            groups.push_back({{i}});
            break;
        }
    }
    return groups;
}

} // namespace qel
