#include "versesearch/queryengine.h"

#include "language/koreanjamo.h"
#include "language/koreanmorphology.h"
#include "platform/codec.h"
#include "platform/hangulinitials.h"
#include "versesearch/bookabbreviations.h"
#include "versesearch/queryparser.h"
#include "versesearch/verseindex.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace {

using namespace qel;
using korean::WordClass;

constexpr std::size_t kMaxInput = 4096; // longest input string read
constexpr std::size_t kMaxCandidates = 9;

std::string inputText(const char* s) {
    return s ? std::string(s, strnlen(s, kMaxInput)) : std::string();
}

// Copies into an out buffer of `size` bytes, NUL included, never cutting a character.
void copyOut(char* out, std::size_t size, std::string_view s) {
    if (!out || size == 0)
        return;
    // Only a text that does not fit needs its character boundaries found.
    const std::size_t n = s.size() < size ? s.size() : wholeCharacterPrefix(s, size - 1);
    std::memcpy(out, s.data(), n);
    out[n] = '\0';
}

// Lines of a choice list: each ends with a blank and LF (the dialog drops the character
// before a line end); only whole lines that fit are written.
std::string fitLines(const std::vector<std::string>& lines, std::size_t size) {
    std::string out;
    for (const std::string& line : lines) {
        const std::string l = line.substr(0, wholeCharacterPrefix(line, 253)) + " \n";
        if (out.size() + l.size() + 1 > size)
            break;
        out += l;
    }
    return out;
}

// The reference of a record: what comes before its first "#", without blanks and line ends
// after it.
std::string_view recordKey(const char* record) {
    if (!record)
        return {};
    // Called twice for every record of a result: the library's scans, not a byte loop.
    const std::size_t length = strnlen(record, kMaxInput);
    const void* hash = std::memchr(record, '#', length);
    std::size_t n =
        hash ? static_cast<std::size_t>(static_cast<const char*>(hash) - record) : length;
    while (n > 0 && static_cast<unsigned char>(record[n - 1]) <= ' ')
        --n;
    return {record, n};
}

std::string cp949Of(std::u32string_view text) {
    return utf8ToCp949(utf32ToUtf8(text));
}

struct Candidate {
    korean::Analysis analysis;
    std::string morph; // CP949, at most QE_MORP_SIZE - 1 bytes
    std::string line;  // CP949
};

struct Item {
    std::vector<Candidate> candidates;
    int selected = 0;
};

struct Word {
    QueryWord parsed;
    std::vector<Item> items; // empty for a word that indexes nothing
};

struct LoadedIndex {
    std::string path;
    long long size = -1, mtime = -1;
    std::shared_ptr<const VerseIndex> index;
};

// The verses of the last result file, in its order: get_clause, called record after record,
// finds each verse by comparing one reference instead of looking it up.
struct LastResult {
    std::shared_ptr<const VerseIndex> index;
    std::vector<std::uint32_t> verses;
    std::size_t next = 0;
};

struct Engine {
    std::mutex lock;
    LoadedIndex cache;
    std::shared_ptr<const VerseIndex> index;
    std::string splitForm;
    std::vector<Word> words;
    std::vector<QueryJoin> joins;
    bool analysed = false;
    LastResult result;
};

Engine& engine() {
    static Engine e;
    return e;
}

int verseOfRecord(LastResult& last, const VerseIndex& index, std::string_view key) {
    if (last.index.get() == &index) {
        // The record after the last one asked for, or the same verse again (a verse whose
        // positions took several records).
        for (std::size_t k : {last.next, last.next - 1})
            if (k < last.verses.size() && index.referenceText(last.verses[k]) == key) {
                last.next = k + 1;
                return static_cast<int>(last.verses[k]);
            }
    }
    return index.verseOfReference(key);
}

void resetQuery(Engine& e) {
    e.splitForm.clear();
    e.words.clear();
    e.joins.clear();
    e.analysed = false;
}

std::shared_ptr<const VerseIndex> loadIndex(Engine& e, const char* folderText) {
    std::string folder = inputText(folderText);
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    const std::string path =
        (folder.empty() ? std::string(".") : folder) + "/" + kVerseIndexFileName;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return nullptr;
    if (e.cache.index && e.cache.path == path && e.cache.size == st.st_size &&
        e.cache.mtime == static_cast<long long>(st.st_mtime))
        return e.cache.index;
    VerseIndexData data;
    std::string error;
    if (!loadVerseIndex(path, data, error)) {
        errno = EINVAL;
        return nullptr;
    }
    e.cache.path = path;
    e.cache.size = st.st_size;
    e.cache.mtime = static_cast<long long>(st.st_mtime);
    e.cache.index = std::make_shared<const VerseIndex>(std::move(data));
    return e.cache.index;
}

bool isNominalisedNoun(const korean::Analysis& a) {
    if (a.wordClass != WordClass::Noun || a.stem.empty())
        return false;
    const char32_t last = a.stem.back();
    return last == U'기' || korean::syllableFinal(last) == korean::kFM;
}

bool isSubset(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    return std::includes(b.begin(), b.end(), a.begin(), a.end());
}

// A compound noun written as one word, as parts the text knows as nouns (하나님/나라).
std::string morphOfNoun(const VerseIndex& index, const std::u32string& stem) {
    if (stem.size() >= 4) {
        for (std::size_t cut = 2; cut + 2 <= stem.size(); ++cut) {
            const std::u32string a = stem.substr(0, cut), b = stem.substr(cut);
            if (index.formCountOfStem(WordClass::Noun, a) >= 2 &&
                index.formCountOfStem(WordClass::Noun, b) >= 2)
                return cp949Of(a) + "/" + cp949Of(b);
        }
    }
    return cp949Of(stem);
}

char classLetter(WordClass cls) {
    return cls == WordClass::Noun ? 'N' : cls == WordClass::Predicate ? 'V' : 'M';
}

// The readings of a query word that the text supports, the likeliest first. A word of the
// text keeps only the readings the index gives that very form. Likelihood comes from the
// parts a reading needs (a noun with a particle beats a verb with a rare ending), the
// Bible's own sense of a word from our list first; a noun whose every form a predicate
// explains too (할 beside 하다) falls behind, a nominalised noun (믿음) does not. Readings
// no likelier than one that covers all their forms are left out.
// The line of a candidate in the choice list: number, dictionary form, class, parts, verses.
std::string candidateLine(std::size_t number, const korean::Analysis& a, std::size_t verses) {
    const char* tag = a.wordClass == WordClass::Noun        ? "[명사]"
                      : a.wordClass == WordClass::Predicate ? "[용언]"
                                                            : "[수식언]";
    std::u32string gloss(a.wordClass == WordClass::Predicate ? korean::senseGloss(a.stem) : U"");
    if (!gloss.empty())
        gloss += U", ";
    return std::to_string(number) + " " + cp949Of(korean::lemmaOf(a)) + " " + utf8ToCp949(tag) +
           " " + cp949Of(a.parts) + " (" + cp949Of(gloss) + std::to_string(verses) +
           utf8ToCp949("절)");
}

Candidate candidateOf(const VerseIndex& index, const korean::Analysis& a, std::size_t number,
                      std::size_t verses) {
    Candidate c;
    c.analysis = a;
    c.morph =
        a.wordClass == WordClass::Noun ? morphOfNoun(index, a.stem) : cp949Of(korean::lemmaOf(a));
    c.morph.resize(wholeCharacterPrefix(c.morph, QE_MORP_SIZE - 1));
    c.line = candidateLine(number, a, verses);
    return c;
}

// A word of initial letters (ㅎㄴㄴ) stands for the words of the text with those
// initials, the most frequent first.
std::vector<Candidate> initialsCandidatesOf(const VerseIndex& index, const std::u32string& word) {
    struct Found {
        korean::Analysis a;
        std::size_t verses;
    };
    std::vector<Found> found;
    for (std::uint32_t k : index.stemsWithInitials(word)) {
        const std::string& key = index.data().stemKeys[k];
        const std::u32string stem = utf8ToUtf32(std::string_view(key).substr(1));
        const WordClass cls = key[0] == 'N'   ? WordClass::Noun
                              : key[0] == 'V' ? WordClass::Predicate
                                              : WordClass::Modifier;
        found.push_back({{stem, cls, std::u32string(korean::withoutSense(stem))},
                         index.verseCountOf(index.data().stemForms[k])});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.verses > b.verses; });
    if (found.size() > kMaxCandidates)
        found.resize(kMaxCandidates);
    std::vector<Candidate> out;
    for (const Found& f : found)
        out.push_back(candidateOf(index, f.a, out.size() + 1, f.verses));
    return out;
}

std::vector<Candidate> candidatesOf(const VerseIndex& index, const std::u32string& word,
                                    std::u32string_view next = {}) {
    if (korean::isInitialsOnly(word))
        return initialsCandidatesOf(index, word);
    struct Scored {
        korean::Analysis a;
        std::vector<std::uint32_t> forms;
        int cost;
    };
    std::vector<korean::Analysis> analyses = korean::analyse(word);
    if (index.formsOfKey("M" + utf32ToUtf8(word)))
        analyses.push_back({word, WordClass::Modifier, word});
    const std::uint32_t self = index.formIndex(word);
    std::vector<Scored> all;
    for (korean::Analysis& a : analyses) {
        const std::string key = classLetter(a.wordClass) + utf32ToUtf8(a.stem);
        const auto* forms = index.formsOfKey(key);
        auto holdsSelf = [&](const std::vector<std::uint32_t>* f) {
            return f && std::binary_search(f->begin(), f->end(), self);
        };
        if (forms && self != kNoForm && !holdsSelf(forms) &&
            !holdsSelf(index.formsOfKey("~" + key)))
            forms = nullptr;
        int cost = korean::readingCost(a);
        if (index.formsOfKey("!" + key))
            cost -= 20;
        all.push_back({std::move(a), forms ? *forms : std::vector<std::uint32_t>(), cost});
    }
    std::vector<Scored*> kept;
    const bool anySupport =
        std::any_of(all.begin(), all.end(), [](const Scored& s) { return !s.forms.empty(); });
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (anySupport && all[i].forms.empty())
            continue;
        bool dropped = false;
        for (std::size_t j = 0; j < all.size() && !dropped && anySupport; ++j) {
            if (i == j || all[j].forms.empty() || !isSubset(all[i].forms, all[j].forms))
                continue;
            const bool same = all[i].forms.size() == all[j].forms.size();
            if (all[j].cost < all[i].cost || (all[j].cost == all[i].cost && (!same || j < i)))
                dropped = true;
        }
        if (!dropped)
            kept.push_back(&all[i]);
    }
    for (Scored* s : kept) {
        if (s->a.wordClass != WordClass::Noun || s->cost < -10)
            continue;
        if (isNominalisedNoun(s->a)) {
            // 함이라 is 하다's before it is the noun 함 (box).
            if (s->a.stem.size() == 1 && std::any_of(kept.begin(), kept.end(), [&](auto* t) {
                    return t->a.wordClass == WordClass::Predicate && t->a.stem.size() == 1 &&
                           t->a.parts.starts_with(t->a.stem + U"+ㅁ");
                }))
                s->cost += 8;
            continue;
        }
        for (const Scored* t : kept)
            if (t->a.wordClass == WordClass::Predicate && t->forms.size() > s->forms.size() &&
                isSubset(s->forms, t->forms))
                s->cost += 8;
    }
    if (!anySupport && !kept.empty()) {
        // A word the text does not have: the likeliest readings alone.
        const int best = (*std::min_element(kept.begin(), kept.end(), [](auto* a, auto* b) {
                             return a->cost < b->cost;
                         }))->cost;
        std::erase_if(kept, [&](const Scored* s) { return s->cost != best; });
    }
    if (korean::startsWithDependentNoun(next))
        // 온 줄로, 본 것을: before a dependent noun a determiner is the verb's.
        for (Scored* s : kept)
            if (s->a.wordClass == WordClass::Predicate && s->a.parts.ends_with(U"+ㄴ"))
                s->cost -= 40;
    std::stable_sort(kept.begin(), kept.end(), [](const Scored* a, const Scored* b) {
        if (a->cost != b->cost)
            return a->cost < b->cost;
        return a->forms.size() > b->forms.size();
    });
    if (kept.size() > kMaxCandidates)
        kept.resize(kMaxCandidates);
    std::vector<Candidate> out;
    for (const Scored* s : kept)
        out.push_back(candidateOf(index, s->a, out.size() + 1, index.verseCountOf(s->forms)));
    return out;
}

// Splits words typed without blanks; empty when nothing splits.
bool splitQuery(const VerseIndex& index, const ParsedQuery& q, std::string& splitForm) {
    bool any = false;
    std::string out;
    for (std::size_t i = 0; i < q.words.size(); ++i) {
        if (i > 0)
            out += q.joins[i - 1] == QueryJoin::And  ? " && "
                   : q.joins[i - 1] == QueryJoin::Or ? " || "
                                                     : " ";
        const auto parts =
            q.analysed ? std::vector<std::u32string>() : index.splitRunTogether(q.words[i].text);
        if (parts.empty()) {
            out += q.words[i].raw;
            continue;
        }
        any = true;
        for (std::size_t k = 0; k < parts.size(); ++k)
            out += (k ? " " : "") + cp949Of(parts[k]);
    }
    splitForm = out + " ";
    return any && splitForm.size() < QE_QUERY_OUT_SIZE;
}

// The same query with run-together words replaced by their parts as a phrase.
ParsedQuery expandRunTogether(const VerseIndex& index, const ParsedQuery& q) {
    ParsedQuery out;
    out.analysed = q.analysed;
    for (std::size_t i = 0; i < q.words.size(); ++i) {
        const QueryWord& w = q.words[i];
        const auto parts = w.kind == QueryWordKind::Surface ? index.splitRunTogether(w.text)
                                                            : std::vector<std::u32string>();
        if (i > 0)
            out.joins.push_back(q.joins[i - 1]);
        if (parts.empty() || out.words.size() + parts.size() > kMaxQueryWords) {
            out.words.push_back(w);
            continue;
        }
        for (std::size_t k = 0; k < parts.size(); ++k) {
            if (k > 0)
                out.joins.push_back(QueryJoin::Phrase);
            QueryWord part = w;
            part.text = parts[k];
            part.raw = cp949Of(parts[k]);
            out.words.push_back(std::move(part));
        }
    }
    return out;
}

bool validItem(const Engine& e, int w, int i) {
    return e.analysed && w >= 0 && static_cast<std::size_t>(w) < e.words.size() && i >= 0 &&
           static_cast<std::size_t>(i) < e.words[static_cast<std::size_t>(w)].items.size();
}

Item* itemOf(Engine& e, int w, int i) {
    return validItem(e, w, i)
               ? &e.words[static_cast<std::size_t>(w)].items[static_cast<std::size_t>(i)]
               : nullptr;
}

Candidate* candidateOf(Engine& e, int w, int i, int k) {
    Item* item = itemOf(e, w, i);
    if (!item || k < 0 || static_cast<std::size_t>(k) >= item->candidates.size())
        return nullptr;
    return &item->candidates[static_cast<std::size_t>(k)];
}

// Range text -> first and last book index.
bool rangeOf(const std::string& range, int& first, int& last) {
    const std::string all = utf8ToCp949("전체"), old = utf8ToCp949("구약"),
                      neu = utf8ToCp949("신약");
    if (range.empty() || range == all) {
        first = 0;
        last = 65;
        return true;
    }
    if (range == old) {
        first = 0;
        last = 38;
        return true;
    }
    if (range == neu) {
        first = 39;
        last = 65;
        return true;
    }
    int book = bookIndexOfAbbreviation(range);
    if (book < 0)
        book = bookIndexOfAbbreviation(abbreviationOfBookName(range));
    if (book < 0)
        return false;
    first = last = book;
    return true;
}

// Analysed reading of a word's current candidate as a token of the final query.
std::string tokenOf(const Word& w, bool withHomonyms) {
    if (w.items.empty())
        return "=" + cp949Of(w.parsed.text);
    const Item& item = w.items.front();
    const Candidate& c = item.candidates[static_cast<std::size_t>(item.selected)];
    if (c.analysis.wordClass == WordClass::Predicate)
        return cp949Of(c.analysis.stem) + "-"; // with its sense mark (이르2-)
    std::string token;
    const std::string morph = c.morph;
    for (std::size_t i = 0; i < morph.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(morph[i]);
        if (characterLength(morph, i) == 2) {
            token += morph.substr(i++, 2);
        } else if (std::isalnum(ch) || ch == '/') {
            if (!withHomonyms && ch >= '0' && ch <= '9')
                continue;
            token.push_back(static_cast<char>(ch));
        }
    }
    if (c.analysis.wordClass == WordClass::Modifier)
        return "!" + token;
    return token;
}

// Nothing may cross the C boundary: a call that fails inside (out of memory, a damaged
// index) gives its failure result, with its out buffer, if any, empty.
template <typename Body>
int guarded(int failure, char* out, std::size_t outSize, Body body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    } catch (...) {
        errno = EIO;
    }
    copyOut(out, outSize, "");
    return failure;
}

template <typename Body> int guarded(int failure, Body body) noexcept {
    return guarded(failure, nullptr, 0, body);
}

// Sets the stored morpheme text of a candidate to what `compose` makes of the old one.
template <typename Compose> int storeMorph(int w, int i, int k, Compose compose) {
    return guarded(0, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        Candidate* c = candidateOf(e, w, i, k);
        if (!c)
            return 0;
        const std::string t = compose(c->morph);
        c->morph = t.substr(0, wholeCharacterPrefix(t, QE_MORP_SIZE - 1));
        return 1;
    });
}

} // namespace

extern "C" {

int OpenDic(const char* folder) {
    return guarded(0, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        resetQuery(e);
        e.index = loadIndex(e, folder);
        return e.index ? 1 : 0;
    });
}

int query_BASIC(const char* query, char* out) {
    return guarded(0, out, QE_QUERY_OUT_SIZE, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        resetQuery(e);
        copyOut(out, QE_QUERY_OUT_SIZE, "");
        ParsedQuery q;
        if (!e.index || parseQueryText(inputText(query), q) != QueryParse::Ok)
            return 0;
        copyOut(out, QE_QUERY_OUT_SIZE, formatQueryText(q));
        if (splitQuery(*e.index, q, e.splitForm))
            return 1;
        e.splitForm = formatQueryText(q) + " ";
        return 2;
    });
}

int query_EX(const char* query, int split, int type) {
    return guarded(0, [&] {
        (void)type;
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        resetQuery(e);
        ParsedQuery q;
        if (!e.index || parseQueryText(inputText(query), q) != QueryParse::Ok)
            return 0;
        if (split == 0 && splitQuery(*e.index, q, e.splitForm))
            return 1;
        e.splitForm = formatQueryText(q) + " ";
        for (const QueryWord& pw : q.words) {
            Word w;
            w.parsed = pw;
            if (!korean::isFunctionWord(pw.text)) {
                Item item;
                const std::size_t at = static_cast<std::size_t>(&pw - q.words.data());
                item.candidates =
                    candidatesOf(*e.index, pw.text,
                                 at + 1 < q.words.size() ? std::u32string_view(q.words[at + 1].text)
                                                         : std::u32string_view());
                if (!item.candidates.empty())
                    w.items.push_back(std::move(item));
            }
            e.words.push_back(std::move(w));
        }
        e.joins = q.joins;
        e.analysed = true;
        return 2;
    });
}

int split_check(char* out) {
    return guarded(0, out, QE_QUERY_OUT_SIZE, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        copyOut(out, QE_QUERY_OUT_SIZE, e.splitForm);
        return e.splitForm.empty() ? 0 : 1;
    });
}

int get_Qindex(int* counts) {
    return guarded(-1, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        if (!e.analysed || e.words.empty())
            return -1;
        const std::size_t n = std::min<std::size_t>(e.words.size(), QE_QINDEX_COUNT);
        if (counts)
            for (std::size_t w = 0; w < n; ++w)
                counts[w] = static_cast<int>(e.words[w].items.size());
        return static_cast<int>(n) - 1;
    });
}

int chk_ambi(int w, int i) {
    return guarded(0, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        const Item* item = itemOf(e, w, i);
        return item ? static_cast<int>(item->candidates.size()) : 0;
    });
}

int get_ambi_list(int w, int i, char* out) {
    return guarded(0, out, QE_AMBI_LIST_SIZE, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        const Item* item = itemOf(e, w, i);
        std::vector<std::string> lines;
        if (item)
            for (const Candidate& c : item->candidates)
                lines.push_back(c.line);
        copyOut(out, QE_AMBI_LIST_SIZE, fitLines(lines, QE_AMBI_LIST_SIZE));
        return static_cast<int>(lines.size());
    });
}

int get_rawQ(int w, int i, char* out) {
    return guarded(0, out, QE_RAWQ_SIZE, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        if (!validItem(e, w, i)) {
            copyOut(out, QE_RAWQ_SIZE, "");
            return 0;
        }
        copyOut(out, QE_RAWQ_SIZE, e.words[static_cast<std::size_t>(w)].parsed.raw);
        return 1;
    });
}

int select_ambi(int w, int i, int k) {
    return guarded(0, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        Item* item = itemOf(e, w, i);
        if (!item || k < 0 || static_cast<std::size_t>(k) >= item->candidates.size())
            return 0;
        item->selected = k;
        return 1;
    });
}

int get_ambi_num(int w, int i) {
    return guarded(-1, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        const Item* item = itemOf(e, w, i);
        return item ? item->selected : -1;
    });
}

int is_noun_tag(int w, int i, int k) {
    return guarded(0, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        const Candidate* c = candidateOf(e, w, i, k);
        return c && c->analysis.wordClass == WordClass::Noun ? 1 : 0;
    });
}

int get_morp(int w, int i, int k, char* out) {
    return guarded(0, out, QE_MORP_SIZE, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        const Candidate* c = candidateOf(e, w, i, k);
        copyOut(out, QE_MORP_SIZE, c ? c->morph : std::string());
        return c ? 1 : 0;
    });
}

int LookDong(const char* word, char* out) {
    return guarded(0, out, QE_DONG_LIST_SIZE, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        copyOut(out, QE_DONG_LIST_SIZE, "");
        if (!e.index)
            return 0;
        const std::string text = inputText(word).substr(0, QE_DONG_WORD_SIZE - 1);
        std::u32string syllables;
        for (char32_t c : utf8ToUtf32(cp949ToUtf8(text)))
            if (korean::isSyllable(c))
                syllables.push_back(c);
        if (syllables.size() < 2)
            return 0; // one syllable is a character reading, not a word
        const auto* homonyms = e.index->homonymsOf(syllables);
        if (!homonyms || homonyms->size() < 2)
            return 0;
        const std::string hangul = cp949Of(syllables);
        std::vector<std::string> lines;
        lines.push_back("0 " + hangul + " " + utf8ToCp949("(모든 뜻)"));
        for (std::size_t k = 0; k < homonyms->size(); ++k) {
            const Homonym& h = (*homonyms)[k];
            lines.push_back(std::to_string(k + 1) + " " + hangul + " " + h.hanja +
                            (h.gloss.empty() ? std::string() : " " + h.gloss));
        }
        copyOut(out, QE_DONG_LIST_SIZE, fitLines(lines, QE_DONG_LIST_SIZE));
        return 2;
    });
}

int put_morp(int w, int i, int k, const char* text) {
    return storeMorph(w, i, k, [&](const std::string&) { return inputText(text); });
}

int cat_morp(int w, int i, int k, const char* text) {
    return storeMorph(w, i, k, [&](const std::string& old) { return old + inputText(text); });
}

int extrac_query(char* out, int type) {
    return guarded(0, out, QE_EXTRACT_SIZE, [&] {
        (void)type;
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        copyOut(out, QE_EXTRACT_SIZE, "");
        if (!e.analysed || std::none_of(e.words.begin(), e.words.end(),
                                        [](const Word& w) { return !w.items.empty(); }))
            return 0;
        for (const bool withHomonyms : {true, false}) {
            std::string q = "@";
            for (std::size_t i = 0; i < e.words.size(); ++i) {
                if (i > 0)
                    q += e.joins[i - 1] == QueryJoin::And  ? "&"
                         : e.joins[i - 1] == QueryJoin::Or ? "|"
                                                           : " ";
                q += tokenOf(e.words[i], withHomonyms);
            }
            if (q.size() < QE_EXTRACT_SIZE) {
                copyOut(out, QE_EXTRACT_SIZE, q);
                return 1;
            }
        }
        return 0;
    });
}

int search_query(const char* query, const char* resultPath, const char* range, int type) {
    return guarded(0, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        if (!e.index) {
            errno = ENOENT;
            return 0;
        }
        ParsedQuery q;
        int firstBook = 0, lastBook = 65;
        if (parseQueryText(inputText(query), q) != QueryParse::Ok ||
            !rangeOf(inputText(range), firstBook, lastBook) || !resultPath) {
            errno = EINVAL;
            return 0;
        }
        const SearchType searchType = type == 2   ? SearchType::Inflected
                                      : type == 3 ? SearchType::Extended
                                                  : SearchType::Basic;
        if (!q.analysed) {
            q = expandRunTogether(*e.index, q);
            if (searchType != SearchType::Basic) {
                // Called without the analysis passes: each word takes its best reading.
                for (QueryWord& w : q.words) {
                    if (korean::isFunctionWord(w.text)) {
                        w.kind = QueryWordKind::Literal;
                        continue;
                    }
                    const auto candidates = candidatesOf(*e.index, w.text);
                    if (candidates.empty())
                        continue;
                    const korean::Analysis& best = candidates.front().analysis;
                    w.text = best.stem;
                    w.kind = best.wordClass == WordClass::Noun        ? QueryWordKind::Noun
                             : best.wordClass == WordClass::Predicate ? QueryWordKind::Predicate
                                                                      : QueryWordKind::Modifier;
                }
            }
        }
        const std::vector<std::uint32_t> hits = e.index->search(q, searchType, firstBook, lastBook);
        e.result = {e.index, {}, 0};
        const std::string text = e.index->resultText(hits, &e.result.verses);
        return writeResultFile(inputText(resultPath), text) ? 1 : 0;
    });
}

int OpenContDB(const char* folder) {
    return guarded(0, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        if (!e.index)
            e.index = loadIndex(e, folder);
        return e.index ? 1 : 0;
    });
}

int get_key(const char* record, char* out) {
    return guarded(0, out, QE_KEY_SIZE, [&] {
        const std::string_view key = recordKey(record);
        copyOut(out, QE_KEY_SIZE, key);
        return key.empty() ? 0 : 1;
    });
}

int get_clause(const char* record, char* out) {
    return guarded(0, out, QE_CLAUSE_SIZE, [&] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        if (!e.index) {
            copyOut(out, QE_CLAUSE_SIZE, "");
            return 0;
        }
        const int verse = verseOfRecord(e.result, *e.index, recordKey(record));
        if (verse < 0) {
            copyOut(out, QE_CLAUSE_SIZE, "");
            return 0;
        }
        const std::string_view text = e.index->verseText(static_cast<std::size_t>(verse));
        std::size_t n = text.size();
        if (n >= QE_CLAUSE_SIZE) {
            n = wholeCharacterPrefix(text, QE_CLAUSE_SIZE - 1);
            // Cut between words so that the positions before the cut stay right.
            const std::size_t blank = text.rfind(' ', n);
            if (blank != std::string::npos && blank > 0)
                n = blank;
        }
        copyOut(out, QE_CLAUSE_SIZE, text.substr(0, n));
        return 1;
    });
}

void CloseDic(void) {
    guarded(0, [] {
        Engine& e = engine();
        std::lock_guard guard(e.lock);
        resetQuery(e);
        e.index.reset();
        e.result = {};
        return 0;
    });
}

} // extern "C"
