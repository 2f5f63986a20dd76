#include "wordsearch/wordquery.h"

#include "bible/booktable.h"
#include "language/englishinflection.h"
#include "language/koreanwordforms.h"
#include "language/wordtext.h"
#include "platform/codec.h"
#include "wordsearch/wordindex.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace qel {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Splits at blanks; a trailing "*" marks all forms, any other "*" is dropped.
void appendWords(std::string_view text, bool phrase, std::vector<QueryTerm>& group) {
    QueryTerm phraseTerm;
    phraseTerm.phrase = true;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        std::string_view piece = text.substr(start, i - start);
        if (piece.empty())
            continue;
        SearchWord word;
        word.allForms = piece.back() == '*';
        for (char c : piece)
            if (c != '*')
                word.text.push_back(c);
        if (word.text.empty())
            continue;
        if (phrase)
            phraseTerm.words.push_back(std::move(word));
        else
            group.push_back(QueryTerm{{std::move(word)}, false});
    }
    if (phrase && !phraseTerm.words.empty()) {
        phraseTerm.phrase = phraseTerm.words.size() > 1;
        group.push_back(std::move(phraseTerm));
    }
}

class VerseSet {
public:
    explicit VerseSet(std::uint32_t size) : size_(size), bits_((size + 63) / 64, 0) {}
    void add(std::uint32_t v) {
        if (v < size_)
            bits_[v / 64] |= std::uint64_t{1} << (v % 64);
    }
    void addRange(std::uint32_t from, std::uint32_t to) {
        to = std::min(to, size_);
        for (std::uint32_t v = from; v < to && v % 64 != 0; ++v)
            add(v);
        for (std::uint32_t v = (from + 63) / 64 * 64; v < to; v += 64) {
            if (to - v >= 64) {
                bits_[v / 64] = ~std::uint64_t{0};
            } else {
                for (std::uint32_t u = v; u < to; ++u)
                    add(u);
            }
        }
    }
    bool has(std::uint32_t v) const { return v < size_ && (bits_[v / 64] >> (v % 64)) & 1; }
    void intersect(const VerseSet& o) {
        for (std::size_t i = 0; i < bits_.size(); ++i)
            bits_[i] &= o.bits_[i];
    }
    void unite(const VerseSet& o) {
        for (std::size_t i = 0; i < bits_.size(); ++i)
            bits_[i] |= o.bits_[i];
    }
    bool none() const {
        return std::all_of(bits_.begin(), bits_.end(), [](std::uint64_t w) { return w == 0; });
    }
    template <class F> void forEach(F&& f) const {
        for (std::size_t i = 0; i < bits_.size(); ++i)
            for (std::uint64_t w = bits_[i]; w; w &= w - 1)
                f(static_cast<std::uint32_t>(i * 64 + std::countr_zero(w)));
    }

private:
    std::uint32_t size_;
    std::vector<std::uint64_t> bits_;
};

// The verses of a range; none for a range that names no book of the index.
VerseSet rangeSet(const WordIndex& index, std::string_view range) {
    VerseSet set(index.verseCount());
    const bool all = range == "all", old = range == "old", nt = range == "new";
    for (std::uint32_t b = 0; b < index.bookCount(); ++b) {
        const std::string_view code = index.bookCode(b);
        // Books between the testaments (the deuterocanon) belong to the old one, as they
        // stand in the book tables.
        if (all || (old && !isNewTestament(code)) || (nt && isNewTestament(code)) || code == range)
            set.addRange(index.bookStart(b), index.bookStart(b + 1));
    }
    return set;
}

class Evaluator {
public:
    explicit Evaluator(const WordIndex& index) : index_(index) {}

    // Tokens that one written word stands for; sorted.
    std::vector<std::uint32_t> candidates(std::string_view key, bool allForms) const {
        std::vector<std::uint32_t> out;
        const std::u32string word = utf8ToUtf32(key);
        if (wordtext::containsHangul(word)) {
            for (const korean::FormPattern& p : koreanPatterns(word, allForms))
                collect(p, out);
        } else if (allForms && std::all_of(key.begin(), key.end(),
                                           [](char c) { return c >= 'a' && c <= 'z'; })) {
            for (const std::string& form : englishInflections(key))
                if (std::uint32_t t = index_.find(form); t < index_.tokenCount())
                    out.push_back(t);
        } else if (std::uint32_t t = index_.find(key); t < index_.tokenCount()) {
            out.push_back(t);
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

    // The verses of `allowed` that match the term; nullopt when the term has no words.
    std::optional<VerseSet> term(const QueryTerm& t, const VerseSet& allowed) const {
        std::vector<std::vector<std::uint32_t>> positions;
        for (const SearchWord& w : t.words) {
            std::vector<std::string> keys;
            wordtext::forEachWord(cp949ToUtf8(w.text),
                                  [&](std::string_view k) { keys.emplace_back(k); });
            for (std::size_t k = 0; k < keys.size(); ++k)
                positions.push_back(candidates(keys[k], w.allForms && k + 1 == keys.size()));
        }
        if (positions.empty())
            return std::nullopt;
        VerseSet result(index_.verseCount());
        if (positions.size() == 1) {
            for (std::uint32_t token : positions[0])
                for (std::uint32_t v : index_.postings(token))
                    result.add(v);
            result.intersect(allowed);
            return result;
        }
        // A phrase: walk the verses of its rarest word and look at the words around it.
        std::size_t rarest = 0, fewest = SIZE_MAX;
        for (std::size_t p = 0; p < positions.size(); ++p) {
            std::size_t n = 0;
            for (std::uint32_t token : positions[p])
                n += index_.postings(token).size();
            if (n < fewest) {
                fewest = n;
                rarest = p;
            }
        }
        VerseSet seeds(index_.verseCount());
        for (std::uint32_t token : positions[rarest])
            for (std::uint32_t v : index_.postings(token))
                seeds.add(v);
        seeds.intersect(allowed);
        const std::size_t m = positions.size();
        seeds.forEach([&](std::uint32_t v) {
            const auto words = index_.verseWords(v);
            for (std::size_t s = 0; s + m <= words.size(); ++s) {
                bool all = true;
                for (std::size_t k = 0; k < m && all; ++k)
                    all =
                        std::binary_search(positions[k].begin(), positions[k].end(), words[s + k]);
                if (all) {
                    result.add(v);
                    break;
                }
            }
        });
        return result;
    }

private:
    std::vector<korean::FormPattern> koreanPatterns(const std::u32string& word,
                                                    bool allForms) const {
        if (!allForms)
            return korean::basicPatterns(word);
        // A dictionary form (믿다, 사랑하다) means its stem, unless the word is itself a noun
        // of the text (바다, 바다의).
        const std::u32string_view stem = korean::dictionaryStem(word);
        if (!stem.empty() && !occursAsNoun(word))
            return korean::allFormPatterns(stem, true);
        return korean::allFormPatterns(word, false);
    }

    bool occursAsNoun(const std::u32string& word) const {
        const std::string prefix = utf32ToUtf8(word);
        const std::uint32_t hi = index_.lowerBound(prefix + '\xFF');
        for (std::uint32_t t = index_.lowerBound(prefix); t < hi; ++t)
            if (korean::isNounForm(utf8ToUtf32(index_.key(t)), word))
                return true;
        return false;
    }

    void collect(const korean::FormPattern& p, std::vector<std::uint32_t>& out) const {
        std::string lowKey = utf32ToUtf8(p.prefix);
        std::string highKey = lowKey;
        if (p.fusedBase != 0) {
            appendUtf8(lowKey, p.fusedBase);
            appendUtf8(highKey, p.fusedBase + 28);
        } else {
            highKey.push_back('\xFF'); // above every UTF-8 continuation
        }
        const std::uint32_t hi = index_.lowerBound(highKey);
        for (std::uint32_t t = index_.lowerBound(lowKey); t < hi; ++t)
            if (korean::matches(p, utf8ToUtf32(index_.key(t))))
                out.push_back(t);
    }

    const WordIndex& index_;
};

} // namespace

WordQuery parseWordQuery(std::string_view text) {
    WordQuery query;
    std::vector<QueryTerm> group;
    auto closeGroup = [&] {
        if (!group.empty())
            query.anyOf.push_back(std::move(group));
        group.clear();
    };
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i >= text.size() || text[i] == '~')
            break;
        if (text[i] == '"') {
            std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos)
                close = text.size();
            appendWords(text.substr(i + 1, close - i - 1), true, group);
            i = std::min(text.size(), close + 1);
            // Anything between the closing quote and the operator belongs to no term.
            while (i < text.size() && text[i] != '&' && text[i] != '#' && text[i] != '~')
                ++i;
        } else {
            const std::size_t end = std::min(text.find_first_of("&#~", i), text.size());
            appendWords(text.substr(i, end - i), false, group);
            i = end;
        }
        if (i >= text.size() || text[i] == '~')
            break;
        if (text[i] == '#')
            closeGroup();
        ++i;
    }
    closeGroup();
    return query;
}

std::vector<std::uint32_t> findVerses(const WordIndex& index, const WordQuery& query,
                                      std::string_view range) {
    std::vector<std::uint32_t> out;
    if (!index.isOpen() || query.empty())
        return out;
    const VerseSet allowed = rangeSet(index, range);
    if (allowed.none())
        return out;
    const Evaluator evaluator(index);
    VerseSet found(index.verseCount());
    for (const std::vector<QueryTerm>& group : query.anyOf) {
        // Single words first: they narrow the verses a phrase has to be checked in.
        std::vector<const QueryTerm*> terms;
        for (const QueryTerm& t : group)
            terms.push_back(&t);
        std::stable_sort(terms.begin(), terms.end(), [](const QueryTerm* a, const QueryTerm* b) {
            return a->words.size() < b->words.size();
        });
        VerseSet matching = allowed;
        bool anyTerm = false;
        for (const QueryTerm* t : terms) {
            std::optional<VerseSet> hits = evaluator.term(*t, matching);
            if (!hits)
                continue;
            anyTerm = true;
            matching = std::move(*hits);
            if (matching.none())
                break;
        }
        if (anyTerm)
            found.unite(matching);
    }
    found.forEach([&](std::uint32_t v) { out.push_back(v); });
    return out;
}

} // namespace qel
