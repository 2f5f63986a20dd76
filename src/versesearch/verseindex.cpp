#include "versesearch/verseindex.h"

#include "language/koreanjamo.h"
#include "platform/codec.h"
#include "platform/hangulinitials.h"
#include "versesearch/bookabbreviations.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <stdexcept>
#include <type_traits>

namespace qel {

namespace {

constexpr char kMagic[8] = {'Q', 'E', 'L', 'V', 'I', 'X', '0', '2'};
constexpr int kBookCount = 66;

class Writer {
public:
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    void str(std::string_view s) {
        u32(static_cast<std::uint32_t>(s.size()));
        out_.append(s);
    }
    void raw(const char* p, std::size_t n) { out_.append(p, n); }
    const std::string& bytes() const { return out_; }

private:
    std::string out_;
};

class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool u32(std::uint32_t& v) {
        if (in_.size() - pos_ < 4)
            return false;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in_[pos_ + i])) << (8 * i);
        pos_ += 4;
        return true;
    }
    bool str(std::string& s) {
        std::uint32_t n;
        if (!u32(n) || in_.size() - pos_ < n)
            return false;
        s.assign(in_.substr(pos_, n));
        pos_ += n;
        return true;
    }
    // A count that cannot exceed what is left of the file (each item takes `minBytes`).
    bool count(std::uint32_t& n, std::size_t minBytes) {
        return u32(n) && n <= (in_.size() - pos_) / minBytes;
    }
    bool raw(char* p, std::size_t n) {
        if (in_.size() - pos_ < n)
            return false;
        std::memcpy(p, in_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    bool atEnd() const { return pos_ == in_.size(); }

private:
    std::string_view in_;
    std::size_t pos_ = 0;
};

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

void appendSorted(std::vector<std::uint32_t>& to, const std::vector<std::uint32_t>& from) {
    to.insert(to.end(), from.begin(), from.end());
}

template <typename T> void sortUnique(std::vector<T>& v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

char classLetter(korean::WordClass cls) {
    return cls == korean::WordClass::Noun ? 'N' : cls == korean::WordClass::Predicate ? 'V' : 'M';
}

} // namespace

void saveVerseIndex(const VerseIndexData& d, const std::string& path) {
    Writer w;
    w.raw(kMagic, sizeof kMagic);
    w.u32(static_cast<std::uint32_t>(d.verses.size()));
    for (const IndexedVerse& v : d.verses) {
        w.u32(static_cast<std::uint32_t>(v.book));
        w.str(v.chapter);
        w.str(v.verse);
        w.str(v.text);
        w.u32(v.firstWord);
        w.u32(v.wordCount);
    }
    w.u32(static_cast<std::uint32_t>(d.words.size()));
    for (std::uint32_t f : d.words)
        w.u32(f);
    w.u32(static_cast<std::uint32_t>(d.forms.size()));
    for (const std::string& f : d.forms)
        w.str(f);
    w.u32(static_cast<std::uint32_t>(d.stemKeys.size()));
    for (std::size_t i = 0; i < d.stemKeys.size(); ++i) {
        w.str(d.stemKeys[i]);
        w.u32(static_cast<std::uint32_t>(d.stemForms[i].size()));
        for (std::uint32_t f : d.stemForms[i])
            w.u32(f);
    }
    w.u32(static_cast<std::uint32_t>(d.homonymWords.size()));
    for (std::size_t i = 0; i < d.homonymWords.size(); ++i) {
        w.str(d.homonymWords[i]);
        w.u32(static_cast<std::uint32_t>(d.homonyms[i].size()));
        for (const Homonym& h : d.homonyms[i]) {
            w.str(h.hanja);
            w.str(h.gloss);
        }
    }
    w.u32(static_cast<std::uint32_t>(d.verbReadingWords.size()));
    for (std::uint32_t g : d.verbReadingWords)
        w.u32(g);
    const std::string tmp = path + ".part";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(w.bytes().data(), static_cast<std::streamsize>(w.bytes().size()));
        if (!out.flush())
            throw std::runtime_error(tmp + ": cannot write the verse index");
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0)
        throw std::runtime_error(path + ": cannot write the verse index");
}

bool loadVerseIndex(const std::string& path, VerseIndexData& d, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Reader r(bytes);
    auto fail = [&](const char* what) {
        error = path + ": " + what;
        d = VerseIndexData();
        return false;
    };
    char magic[sizeof kMagic];
    if (!r.raw(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0)
        return fail("not a verse index");
    std::uint32_t n;
    if (!r.count(n, 20))
        return fail("bad verse count");
    d.verses.resize(n);
    for (IndexedVerse& v : d.verses) {
        std::uint32_t book;
        if (!r.u32(book) || book >= kBookCount || !r.str(v.chapter) || !r.str(v.verse) ||
            !r.str(v.text) || !r.u32(v.firstWord) || !r.u32(v.wordCount))
            return fail("bad verse");
        v.book = static_cast<int>(book);
    }
    if (!r.count(n, 4))
        return fail("bad word count");
    d.words.resize(n);
    for (std::uint32_t& f : d.words)
        if (!r.u32(f))
            return fail("bad word");
    if (!r.count(n, 4))
        return fail("bad form count");
    d.forms.resize(n);
    for (std::string& f : d.forms)
        if (!r.str(f))
            return fail("bad form");
    if (!r.count(n, 8))
        return fail("bad stem count");
    d.stemKeys.resize(n);
    d.stemForms.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t m;
        if (!r.str(d.stemKeys[i]) || !r.count(m, 4))
            return fail("bad stem");
        d.stemForms[i].resize(m);
        for (std::uint32_t& f : d.stemForms[i])
            if (!r.u32(f) || f >= d.forms.size())
                return fail("bad stem form");
    }
    if (!r.count(n, 8))
        return fail("bad homonym count");
    d.homonymWords.resize(n);
    d.homonyms.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t m;
        if (!r.str(d.homonymWords[i]) || !r.count(m, 8))
            return fail("bad homonym");
        d.homonyms[i].resize(m);
        for (Homonym& h : d.homonyms[i])
            if (!r.str(h.hanja) || !r.str(h.gloss))
                return fail("bad homonym");
    }
    if (!r.count(n, 4))
        return fail("bad verb reading count");
    d.verbReadingWords.resize(n);
    for (std::uint32_t& g : d.verbReadingWords)
        if (!r.u32(g) || g >= d.words.size())
            return fail("bad verb reading");
    if (!r.atEnd())
        return fail("trailing bytes");
    for (std::uint32_t f : d.words)
        if (f != kNoForm && f >= d.forms.size())
            return fail("bad word form");
    for (const IndexedVerse& v : d.verses)
        if (v.firstWord > d.words.size() || v.wordCount > d.words.size() - v.firstWord)
            return fail("bad verse words");
    if (!std::is_sorted(d.forms.begin(), d.forms.end()) ||
        !std::is_sorted(d.stemKeys.begin(), d.stemKeys.end()) ||
        !std::is_sorted(d.homonymWords.begin(), d.homonymWords.end()) ||
        !std::is_sorted(d.verbReadingWords.begin(), d.verbReadingWords.end()))
        return fail("unsorted tables");
    return true;
}

VerseIndex::VerseIndex(VerseIndexData data) : data_(std::move(data)) {
    const std::size_t formCount = data_.forms.size();
    std::vector<std::uint32_t> counts(formCount + 1, 0);
    for (std::uint32_t f : data_.words)
        if (f != kNoForm)
            ++counts[f + 1];
    for (std::size_t i = 1; i <= formCount; ++i)
        counts[i] += counts[i - 1];
    postingStart_ = counts;
    postings_.resize(postingStart_.back());
    for (std::uint32_t g = 0; g < data_.words.size(); ++g)
        if (const std::uint32_t f = data_.words[g]; f != kNoForm)
            postings_[counts[f]++] = g;
    verseOfWord_.assign(data_.words.size(), 0);
    std::size_t textBytes = 0;
    for (const IndexedVerse& iv : data_.verses)
        textBytes += iv.text.size();
    texts_.reserve(textBytes);
    textStart_.reserve(data_.verses.size() + 1);
    for (const IndexedVerse& iv : data_.verses) {
        textStart_.push_back(static_cast<std::uint32_t>(texts_.size()));
        texts_ += iv.text;
    }
    textStart_.push_back(static_cast<std::uint32_t>(texts_.size()));
    referenceStart_.reserve(data_.verses.size() + 1);
    firstWordOf_.reserve(data_.verses.size());
    for (std::uint32_t v = 0; v < data_.verses.size(); ++v) {
        const IndexedVerse& iv = data_.verses[v];
        for (std::uint32_t k = 0; k < iv.wordCount; ++k)
            verseOfWord_[iv.firstWord + k] = v;
        firstWordOf_.push_back(iv.firstWord);
        referenceStart_.push_back(static_cast<std::uint32_t>(referenceTexts_.size()));
        referenceTexts_ += bookAbbreviationTable()[static_cast<std::size_t>(iv.book)].abbreviation;
        referenceTexts_ += iv.chapter;
        referenceTexts_ += ':';
        referenceTexts_ += iv.verse;
    }
    referenceStart_.push_back(static_cast<std::uint32_t>(referenceTexts_.size()));
    referenceTexts_.shrink_to_fit();
    if (std::is_sorted(verseOfWord_.begin(), verseOfWord_.end())) {
        wordStart_.reserve(data_.verses.size() + 1);
        std::uint32_t g = 0;
        for (std::uint32_t v = 0; v <= data_.verses.size(); ++v) {
            while (g < verseOfWord_.size() && verseOfWord_[g] < v)
                ++g;
            wordStart_.push_back(g);
        }
    }
    postingVerses_.resize(postings_.size());
    for (std::size_t k = 0; k < postings_.size(); ++k)
        postingVerses_[k] = verseOfWord_[postings_[k]];
    versesByReference_.resize(data_.verses.size());
    for (std::uint32_t v = 0; v < versesByReference_.size(); ++v)
        versesByReference_[v] = v;
    // Stable, so that of verses with the same reference the first is found.
    std::stable_sort(
        versesByReference_.begin(), versesByReference_.end(),
        [&](std::uint32_t a, std::uint32_t b) { return referenceText(a) < referenceText(b); });
    for (std::uint32_t k = 0; k < data_.stemKeys.size(); ++k) {
        const std::string& key = data_.stemKeys[k];
        if (key.starts_with("~V"))
            appendSorted(contextForms_, data_.stemForms[k]);
        if (key.empty() || (key[0] != 'N' && key[0] != 'V' && key[0] != 'M'))
            continue;
        const std::u32string stem(
            korean::withoutSense(utf8ToUtf32(std::string_view(key).substr(1))));
        initials_.emplace_back(korean::initialsOf(stem), k);
        if (key[0] == 'V')
            initials_.emplace_back(korean::initialsOf(stem + U"다"), k);
    }
    std::sort(initials_.begin(), initials_.end());
    sortUnique(contextForms_);
    for (std::uint32_t g : data_.verbReadingWords)
        if (!std::binary_search(contextForms_.begin(), contextForms_.end(), data_.words[g]))
            verbFirstForms_.push_back(data_.words[g]);
    sortUnique(verbFirstForms_);
}

int VerseIndex::verseOfReference(std::string_view reference) const {
    const auto it =
        std::lower_bound(versesByReference_.begin(), versesByReference_.end(), reference,
                         [&](std::uint32_t v, std::string_view r) { return referenceText(v) < r; });
    return it == versesByReference_.end() || referenceText(*it) != reference
               ? -1
               : static_cast<int>(*it);
}

bool VerseIndex::hasForm(std::u32string_view word) const {
    return std::binary_search(data_.forms.begin(), data_.forms.end(), utf32ToUtf8(word));
}

std::uint32_t VerseIndex::formIndex(std::u32string_view word) const {
    const std::string w = utf32ToUtf8(word);
    const auto it = std::lower_bound(data_.forms.begin(), data_.forms.end(), w);
    return it != data_.forms.end() && *it == w
               ? static_cast<std::uint32_t>(it - data_.forms.begin())
               : kNoForm;
}

const std::vector<std::uint32_t>* VerseIndex::formsOfKey(std::string_view key) const {
    auto it = std::lower_bound(data_.stemKeys.begin(), data_.stemKeys.end(), key);
    if (it == data_.stemKeys.end() || *it != key)
        return nullptr;
    return &data_.stemForms[static_cast<std::size_t>(it - data_.stemKeys.begin())];
}

std::size_t VerseIndex::formCountOfStem(korean::WordClass cls, std::u32string_view stem) const {
    const auto* forms = formsOfKey(classLetter(cls) + utf32ToUtf8(stem));
    return forms ? forms->size() : 0;
}

std::vector<std::uint32_t> VerseIndex::surfaceMatches(std::u32string_view word) const {
    std::vector<std::uint32_t> out;
    const std::string prefix = utf32ToUtf8(word);
    if (prefix.empty())
        return out;
    auto it = std::lower_bound(data_.forms.begin(), data_.forms.end(), prefix);
    for (; it != data_.forms.end() && startsWith(*it, prefix); ++it) {
        const std::u32string tail = utf8ToUtf32(std::string_view(*it).substr(prefix.size()));
        if (korean::isParticleTail(word, tail))
            out.push_back(static_cast<std::uint32_t>(it - data_.forms.begin()));
    }
    return out;
}

std::vector<std::uint32_t> VerseIndex::stemMatches(korean::WordClass cls, std::u32string_view stem,
                                                   SearchType type) const {
    std::vector<std::uint32_t> out;
    const std::string s = utf32ToUtf8(stem);
    if (s.empty())
        return out;
    std::string key = classLetter(cls) + s;
    if (stem.ends_with(korean::kSecondSense) && !formsOfKey(key) && !formsOfKey("~" + key))
        key = classLetter(cls) + utf32ToUtf8(korean::withoutSense(stem)); // an older index
    if (const auto* forms = formsOfKey(key))
        appendSorted(out, *forms);
    // 온 beside 오다: found where its context reads it as the verb (search() checks).
    if (cls == korean::WordClass::Predicate)
        if (const auto* forms = formsOfKey("~" + key))
            appendSorted(out, *forms);
    // Extended: the predicates derived from a noun (사랑 → 사랑하다, 축복받다) and the
    // compounds that the index builder found real (하나님 → 하나님나라; 가 → 나아가).
    if (type == SearchType::Extended) {
        const bool noun = cls == korean::WordClass::Noun;
        for (const char letter : noun ? std::string_view("CD") : std::string_view("P"))
            if (const auto* forms = formsOfKey(letter + s))
                appendSorted(out, *forms);
    }
    sortUnique(out);
    return out;
}

std::vector<std::u32string> VerseIndex::splitRunTogether(std::u32string_view word) const {
    if (word.size() < 2 || word.size() > 40 || hasForm(word) || !surfaceMatches(word).empty())
        return {};
    const std::size_t n = word.size();
    constexpr int kNone = std::numeric_limits<int>::max();
    std::vector<int> best(n + 1, kNone);
    std::vector<std::size_t> from(n + 1, 0);
    best[0] = 0;
    for (std::size_t i = 1; i <= n; ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (best[j] != kNone && best[j] + 1 < best[i] && hasForm(word.substr(j, i - j))) {
                best[i] = best[j] + 1;
                from[i] = j;
            }
    if (best[n] == kNone || best[n] < 2)
        return {};
    std::vector<std::u32string> parts;
    for (std::size_t i = n; i > 0; i = from[i])
        parts.emplace_back(word.substr(from[i], i - from[i]));
    std::reverse(parts.begin(), parts.end());
    return parts;
}

const std::vector<Homonym>* VerseIndex::homonymsOf(std::u32string_view word) const {
    const std::string w = utf32ToUtf8(word);
    auto it = std::lower_bound(data_.homonymWords.begin(), data_.homonymWords.end(), w);
    if (it == data_.homonymWords.end() || *it != w)
        return nullptr;
    return &data_.homonyms[static_cast<std::size_t>(it - data_.homonymWords.begin())];
}

std::vector<std::uint32_t> VerseIndex::matchesOf(const QueryWord& word, SearchType type) const {
    switch (word.kind) {
    case QueryWordKind::Surface:
    case QueryWordKind::Literal:
        return surfaceMatches(word.text);
    case QueryWordKind::Noun:
        return type == SearchType::Basic ? surfaceMatches(word.text)
                                         : stemMatches(korean::WordClass::Noun, word.text, type);
    case QueryWordKind::Predicate:
        return stemMatches(korean::WordClass::Predicate, word.text,
                           type == SearchType::Basic ? SearchType::Inflected : type);
    case QueryWordKind::Modifier:
        return stemMatches(korean::WordClass::Modifier, word.text, SearchType::Inflected);
    }
    return {};
}

std::vector<std::uint32_t> VerseIndex::stemsWithInitials(std::u32string_view initials) const {
    const auto range = std::equal_range(
        initials_.begin(), initials_.end(), initials, [](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, std::u32string_view>)
                return a < std::u32string_view(b.first);
            else
                return std::u32string_view(a.first) < b;
        });
    std::vector<std::uint32_t> out;
    for (auto it = range.first; it != range.second; ++it)
        out.push_back(it->second);
    sortUnique(out);
    return out;
}

bool VerseIndex::readsAsVerb(std::uint32_t word) const {
    return std::binary_search(data_.verbReadingWords.begin(), data_.verbReadingWords.end(), word);
}

bool VerseIndex::hasContext(std::uint32_t form) const {
    return std::binary_search(contextForms_.begin(), contextForms_.end(), form) ||
           std::binary_search(verbFirstForms_.begin(), verbFirstForms_.end(), form);
}

// A form such as 온 is the verb (오다) in some places and a word of its own elsewhere: a
// search for the verb takes the first, any other search by reading the rest. A form such as
// 본 is the verb everywhere, and the noun or determiner only where its place allows.
VerseIndex::PlaceRule VerseIndex::placeRule(const QueryWord& word, SearchType type,
                                            std::uint32_t form) const {
    if (word.kind == QueryWordKind::Surface || word.kind == QueryWordKind::Literal ||
        (word.kind == QueryWordKind::Noun && type == SearchType::Basic))
        return PlaceRule::Anywhere;
    const bool verb = word.kind == QueryWordKind::Predicate;
    if (std::binary_search(contextForms_.begin(), contextForms_.end(), form)) {
        // The reading its place gives it is the one held apart under '~' (오다 for 온, 이르다
        // "reach" for 이르매); any other reading is found everywhere else.
        const auto* held = verb ? formsOfKey("~V" + utf32ToUtf8(word.text)) : nullptr;
        return held && std::binary_search(held->begin(), held->end(), form)
                   ? PlaceRule::WhereThePlaceSays
                   : PlaceRule::ElsewhereOnly;
    }
    if (!verb && std::binary_search(verbFirstForms_.begin(), verbFirstForms_.end(), form))
        return PlaceRule::ElsewhereOnly;
    return PlaceRule::Anywhere;
}

bool VerseIndex::fitsPlace(PlaceRule rule, std::uint32_t at) const {
    return rule == PlaceRule::Anywhere || readsAsVerb(at) == (rule == PlaceRule::WhereThePlaceSays);
}

bool VerseIndex::readingFits(const QueryWord& word, SearchType type, std::uint32_t at) const {
    return fitsPlace(placeRule(word, type, data_.words[at]), at);
}

std::size_t VerseIndex::verseCountOf(const std::vector<std::uint32_t>& forms) const {
    // One bit per verse: the forms' postings need no sorting.
    std::vector<std::uint64_t> seen((data_.verses.size() + 63) / 64, 0);
    std::size_t count = 0;
    for (std::uint32_t f : forms)
        for (std::uint32_t k = postingStart_[f]; k < postingStart_[f + 1]; ++k) {
            const std::uint32_t v = postingVerses_[k];
            const std::uint64_t bit = std::uint64_t{1} << (v % 64);
            count += (seen[v / 64] & bit) == 0;
            seen[v / 64] |= bit;
        }
    return count;
}

namespace {

// Hits are word positions: their order is that of verse and place.
using Hits = std::vector<std::uint32_t>;

// Sorted and without repeats. Many hits of several forms are put in order through one bit
// per word of the text, which costs far less than sorting them.
void sortHits(Hits& hits, std::size_t wordCount) {
    if (std::is_sorted(hits.begin(), hits.end())) {
        hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
        return;
    }
    if (hits.size() * 512 < wordCount) {
        std::sort(hits.begin(), hits.end());
        hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
        return;
    }
    std::vector<std::uint64_t> bits((wordCount + 63) / 64, 0);
    for (std::uint32_t g : hits)
        bits[g / 64] |= std::uint64_t{1} << (g % 64);
    hits.clear();
    for (std::size_t i = 0; i < bits.size(); ++i)
        for (std::uint64_t w = bits[i]; w != 0; w &= w - 1)
            hits.push_back(static_cast<std::uint32_t>(i * 64 + std::countr_zero(w)));
}

} // namespace

std::vector<std::uint32_t> VerseIndex::search(const ParsedQuery& query, SearchType type,
                                              int firstBook, int lastBook) const {
    const std::size_t formCount = data_.forms.size();
    std::vector<std::vector<std::uint32_t>> matches(query.words.size());
    std::vector<std::vector<unsigned char>> member(query.words.size());
    for (std::size_t i = 0; i < query.words.size(); ++i)
        matches[i] = matchesOf(query.words[i], type);

    auto isMember = [&](std::size_t w, std::uint32_t form) {
        if (form == kNoForm)
            return false;
        if (member[w].empty()) {
            member[w].assign(formCount, 0);
            for (std::uint32_t f : matches[w])
                member[w][f] = 1;
        }
        return member[w][form] != 0;
    };
    const bool wholeBible = firstBook <= 0 && lastBook >= kBookCount - 1;

    auto phraseHits = [&](const QueryPhrase& phrase) {
        Hits hits;
        const std::size_t m = phrase.size();
        const QueryWord& first = query.words[phrase[0]];
        std::size_t total = 0;
        for (std::uint32_t form : matches[phrase[0]])
            total += postingStart_[form + 1] - postingStart_[form];
        hits.reserve(m == 1 ? total : 0);
        for (std::uint32_t form : matches[phrase[0]]) {
            // Most forms never depend on their place: their postings go in whole.
            const PlaceRule rule =
                hasContext(form) ? placeRule(first, type, form) : PlaceRule::Anywhere;
            for (std::uint32_t k = postingStart_[form]; k < postingStart_[form + 1]; ++k) {
                const std::uint32_t g = postings_[k];
                if (!fitsPlace(rule, g))
                    continue;
                if (m == 1 && wholeBible) {
                    hits.push_back(g);
                    continue;
                }
                const IndexedVerse& verse = data_.verses[verseOfWord_[g]];
                if (verse.book < firstBook || verse.book > lastBook ||
                    g + m > verse.firstWord + verse.wordCount)
                    continue;
                bool ok = true;
                for (std::size_t j = 1; j < m && ok; ++j)
                    ok = isMember(phrase[j], data_.words[g + j]) &&
                         readingFits(query.words[phrase[j]], type, g + j);
                for (std::size_t j = 0; j < m && ok; ++j)
                    hits.push_back(g + static_cast<std::uint32_t>(j));
            }
        }
        sortHits(hits, data_.words.size());
        return hits;
    };

    // The hits of `a` in verses that `b` has too, with those of `b` in verses of `a`.
    auto hitsInBoth = [&](const Hits& a, const Hits& b) {
        Hits out;
        std::size_t i = 0, j = 0;
        while (i < a.size() && j < b.size()) {
            const std::uint32_t va = verseOfWord_[a[i]], vb = verseOfWord_[b[j]];
            if (va < vb) {
                ++i;
            } else if (vb < va) {
                ++j;
            } else {
                for (; i < a.size() && verseOfWord_[a[i]] == va; ++i)
                    out.push_back(a[i]);
                for (; j < b.size() && verseOfWord_[b[j]] == va; ++j)
                    out.push_back(b[j]);
            }
        }
        sortHits(out, data_.words.size());
        return out;
    };

    Hits result;
    for (const auto& andGroup : queryGroups(query)) {
        Hits groupHits = phraseHits(andGroup.front());
        for (std::size_t p = 1; p < andGroup.size() && !groupHits.empty(); ++p)
            groupHits = hitsInBoth(groupHits, phraseHits(andGroup[p]));
        if (result.empty())
            result = std::move(groupHits);
        else
            result.insert(result.end(), groupHits.begin(), groupHits.end());
    }
    sortHits(result, data_.words.size());
    return result;
}

std::string VerseIndex::resultText(const std::vector<std::uint32_t>& hits,
                                   std::vector<std::uint32_t>* verses) const {
    ResultWriter out;
    out.reserve(hits.size() * 12 + 16);
    std::uint32_t current = kNoForm, v = 0;
    for (std::uint32_t g : hits) {
        if (!wordStart_.empty() && g >= wordStart_[v] && g < wordStart_.back()) {
            // Forward from the last hit's verse: a few steps, else a binary search.
            for (std::size_t steps = 0; g >= wordStart_[v + 1] && steps < 8; ++steps)
                ++v;
            if (g >= wordStart_[v + 1])
                v = static_cast<std::uint32_t>(
                    std::upper_bound(wordStart_.begin() + v + 1, wordStart_.end(), g) -
                    wordStart_.begin() - 1);
        } else {
            v = verseOfWord_[g];
        }
        if (v != current) {
            out.verse(referenceText(v));
            if (verses)
                verses->push_back(v);
            current = v;
        }
        out.position(static_cast<int>(g - firstWordOf_[v] + 1));
    }
    return out.finish();
}

} // namespace qel
