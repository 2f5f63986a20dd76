#include "versesearch/verseindexbuilder.h"

#include "bible/editions.h"
#include "language/wordtext.h"

#include "bible/booktable.h"
#include "language/koreanjamo.h"
#include "language/koreanmorphology.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace qel {

namespace {

struct U32Hash {
    std::size_t operator()(const std::u32string& s) const noexcept {
        std::size_t h = 1469598103934665603ull;
        for (char32_t c : s)
            h = (h ^ c) * 1099511628211ull;
        return h;
    }
};

bool isIdeograph(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF);
}

// Homonyms of the words that occur in the text: every run of 2 to 8 syllables of a form may
// be a Sino-Korean noun or part of a compound.
bool readHomonyms(const std::string& path, const std::vector<std::u32string>& forms,
                  const std::vector<korean::HomonymOrder>& order, VerseIndexData& d) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::unordered_set<std::u32string, U32Hash> runs;
    for (const std::u32string& f : forms)
        for (std::size_t b = 0; b < f.size(); ++b)
            for (std::size_t n = 2; n <= 8 && b + n <= f.size(); ++n)
                runs.insert(f.substr(b, n));

    std::unordered_map<char32_t, std::string> charGloss; // UTF-8
    std::map<std::u32string, std::vector<std::u32string>> words;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t a = line.find(':');
        const std::size_t b = a == std::string::npos ? a : line.find(':', a + 1);
        if (b == std::string::npos)
            continue;
        const std::u32string hangul = utf8ToUtf32(std::string_view(line).substr(0, a));
        const std::u32string hanja = utf8ToUtf32(std::string_view(line).substr(a + 1, b - a - 1));
        if (hangul.empty() || hanja.size() != hangul.size() ||
            !std::all_of(hanja.begin(), hanja.end(), isIdeograph) ||
            !std::all_of(hangul.begin(), hangul.end(), korean::isSyllable))
            continue;
        if (hangul.size() == 1) {
            std::string gloss = line.substr(b + 1);
            if (const std::size_t comma = gloss.find(','); comma != std::string::npos)
                gloss.resize(comma);
            gloss = std::string(trimmed(gloss));
            if (!gloss.empty())
                charGloss.emplace(hanja[0], gloss);
        } else if (runs.count(hangul)) {
            auto& list = words[hangul];
            if (std::find(list.begin(), list.end(), hanja) == list.end())
                list.push_back(hanja);
        }
    }
    // The senses a Bible reader means first, in the order of our own list; the rest keep
    // the table's order.
    for (const korean::HomonymOrder& o : order) {
        auto it = words.find(o.hangul);
        if (it == words.end())
            continue;
        std::vector<std::u32string>& list = it->second;
        auto front = list.begin();
        for (const std::u32string& hanja : o.hanja)
            if (auto at = std::find(front, list.end(), hanja); at != list.end())
                std::rotate(front, at, at + 1), ++front;
    }
    for (const auto& [hangul, list] : words) {
        std::vector<Homonym> homonyms;
        for (const std::u32string& hanja : list) {
            const std::string cp = utf8ToCp949(utf32ToUtf8(hanja));
            if (cp.find('?') != std::string::npos)
                continue; // not in the code page
            std::string gloss;
            for (char32_t c : hanja) {
                auto it = charGloss.find(c);
                if (it == charGloss.end())
                    continue;
                const std::string g = utf8ToCp949(it->second);
                if (g.find('?') != std::string::npos)
                    continue;
                if (!gloss.empty())
                    gloss += ", ";
                gloss += g;
            }
            homonyms.push_back({cp, gloss});
        }
        if (homonyms.size() >= 2) {
            d.homonymWords.push_back(utf32ToUtf8(hangul));
            d.homonyms.push_back(std::move(homonyms));
        }
    }
    return true;
}

char classLetter(korean::WordClass cls) {
    return cls == korean::WordClass::Noun ? 'N' : cls == korean::WordClass::Predicate ? 'V' : 'M';
}

unsigned lexClassOf(korean::WordClass cls) {
    return cls == korean::WordClass::Noun        ? korean::kLexNoun
           : cls == korean::WordClass::Predicate ? korean::kLexPredicate
                                                 : korean::kLexModifier;
}

bool hasPart(const korean::Analysis& a, std::u32string_view part) {
    std::u32string p = U"+";
    p += part;
    const std::size_t at = a.parts.find(p);
    return at != std::u32string::npos &&
           (at + p.size() == a.parts.size() || a.parts[at + p.size()] == U'+');
}

bool isCompoundNoun(const korean::Lexicon& lexicon, std::u32string_view stem) {
    for (std::size_t cut = 2; cut < stem.size(); ++cut)
        if (lexicon.knows(stem.substr(0, cut), korean::kLexNoun) &&
            lexicon.knows(stem.substr(cut), korean::kLexNoun))
            return true;
    return false;
}

// A stem the lexicon knows, or two nouns of it written together (생명 + 책).
bool knownNoun(const korean::Lexicon& lexicon, const std::u32string& stem) {
    return lexicon.knows(stem, korean::kLexNoun) || isCompoundNoun(lexicon, stem);
}

// The readings of a form that are real words. A noun stem must be a noun of the lexicon
// (or two of them written together), a predicate stem a predicate of it or a noun + 하다,
// 되다, 받다, 시키다. Among the real ones, a reading goes when a simpler one explains the
// same letters:
// - the copula or 하고 after a noun, where a predicate reads the form (주옵소서 is not 주 +
//   이옵소서, 사랑하고 not 사랑 + 하고, 하였사오니 not 하 + 이었사오니);
// - a noun + particle, where the whole form is a determiner or adverb and no noun (새로,
//   함께; 길이 stays a noun too);
// - a compound noun where a noun of the lexicon takes the particle (그리스도 + 의, not
//   그리스 + 도의);
// - a predicate + ㅁ, where the lexicon has the noun (믿음, 이름 are nouns, not 믿다, 이르다).
// A form with no real reading keeps its noun readings: it is a name the lexicon lacks.
std::vector<korean::Analysis> checkedReadings(const std::u32string& form,
                                              const korean::Lexicon& lexicon) {
    std::vector<korean::Analysis> all = korean::analyse(form);
    if (lexicon.empty())
        return all;
    std::vector<korean::Analysis> kept;
    for (const korean::Analysis& a : all) {
        bool known = false;
        if (a.wordClass == korean::WordClass::Noun) {
            known = knownNoun(lexicon, a.stem);
        } else {
            const std::u32string root = korean::derivationRoot(a.stem);
            known = lexicon.knows(korean::withoutSense(a.stem), korean::kLexPredicate) ||
                    (!root.empty() && knownNoun(lexicon, root));
        }
        if (known)
            kept.push_back(a);
    }
    auto any = [&](auto pred) { return std::any_of(kept.begin(), kept.end(), pred); };
    const bool predicate =
        any([](const korean::Analysis& a) { return a.wordClass == korean::WordClass::Predicate; });
    const bool directNoun = any([&](const korean::Analysis& a) {
        return a.wordClass == korean::WordClass::Noun && lexicon.knows(a.stem, korean::kLexNoun);
    });
    // hunspell-ko makes the adverbs in -히 from their adjectives (거룩하다 → 거룩히).
    const bool adverb =
        lexicon.knows(form, korean::kLexModifier) ||
        (form.size() >= 2 && form.back() == U'히' &&
         lexicon.knows(form.substr(0, form.size() - 1) + U"하", korean::kLexPredicate));
    const bool modifier = adverb && !lexicon.knows(form, korean::kLexNoun);
    auto copulaOfPredicate = [&](const korean::Analysis& n) {
        return korean::usesCopula(n) && any([&](const korean::Analysis& p) {
                   return p.wordClass == korean::WordClass::Predicate &&
                          (korean::elidesCopula(n) || p.stem.starts_with(n.stem));
               });
    };
    auto nominalNoun = [&](const korean::Analysis& p) {
        const std::u32string stem(korean::withoutSense(p.stem));
        if (!p.parts.starts_with(stem + U"+ㅁ"))
            return false;
        // 함, 감, 옴 are nouns of their own (box, persimmon) that have nothing to do with
        // 하다, 가다, 오다; with the copula or a particle after them (함이라, 함을) they are
        // mostly the verb's -ㅁ form, so both readings stay (not before 에: 봄에 is spring).
        const std::u32string_view after = std::u32string_view(p.parts).substr(stem.size() + 2);
        if (stem.size() == 1 && korean::syllableFinal(stem[0]) == korean::kNoFinal &&
            (after.starts_with(U"+이") || after == U"+을" || after == U"+은" || after == U"+도"))
            return false;
        return any([&](const korean::Analysis& n) {
            return n.wordClass == korean::WordClass::Noun && n.stem.size() <= form.size() &&
                   lexicon.knows(n.stem, korean::kLexNoun) &&
                   korean::syllableFinal(n.stem.back()) == korean::kFM &&
                   form.starts_with(n.stem) && n.stem.size() >= stem.size();
        });
    };
    std::erase_if(kept, [&](const korean::Analysis& a) {
        if (a.wordClass == korean::WordClass::Noun)
            return (predicate && hasPart(a, U"하고")) || copulaOfPredicate(a) ||
                   (modifier && a.stem != form) ||
                   (directNoun && !lexicon.knows(a.stem, korean::kLexNoun));
        return nominalNoun(a);
    });
    if (adverb)
        kept.push_back({form, korean::WordClass::Modifier, form});
    if (kept.empty())
        for (const korean::Analysis& a : all)
            if (a.wordClass == korean::WordClass::Noun)
                kept.push_back(a);
    return kept;
}

// Which stems a type-3 search for a word takes in: compound nouns the lexicon knows as two
// nouns (하나님 + 나라), and compound predicates that end in a predicate (나아 + 가, 돌아 +
// 오). Without a lexicon the stems of the text stand in for it.
class CompoundRules {
public:
    CompoundRules(const std::vector<std::vector<korean::Analysis>>& readings,
                  const korean::Lexicon& lexicon)
        : lexicon_(lexicon) {
        if (!lexicon.empty())
            return;
        for (const auto& list : readings)
            for (const korean::Analysis& a : list)
                (a.wordClass == korean::WordClass::Noun ? nouns_ : predicates_).insert(a.stem);
    }

    bool isNoun(const std::u32string& s) const {
        return lexicon_.empty() ? nouns_.count(s) > 0 : lexicon_.knows(s, korean::kLexNoun);
    }
    bool isPredicate(const std::u32string& s) const {
        return lexicon_.empty() ? predicates_.count(s) > 0
                                : lexicon_.knows(s, korean::kLexPredicate);
    }

    // A compound counts for its parts of two syllables or more (생명책 for 생명, not for
    // 책): one syllable would take in half the text.
    std::vector<std::u32string> nounParts(const std::u32string& stem) const {
        std::vector<std::u32string> out;
        for (std::size_t cut = 2; cut < stem.size(); ++cut) {
            std::u32string a = stem.substr(0, cut), b = stem.substr(cut);
            if (isNoun(a) && isNoun(b)) {
                out.push_back(std::move(a));
                if (b.size() >= 2)
                    out.push_back(std::move(b));
            }
        }
        return out;
    }

    // The head of a compound predicate follows a connective 아/어/여 or a noun of two
    // syllables or more: 나아가, 들어오, 데려가, 결론짓.
    std::vector<std::u32string> predicateHeads(const std::u32string& stem) const {
        std::vector<std::u32string> out;
        if (!isPredicate(stem))
            return out;
        for (std::size_t cut = 1; cut < stem.size(); ++cut) {
            const std::u32string a = stem.substr(0, cut), b = stem.substr(cut);
            const char32_t last = a.back();
            // 아, 어 as written (나아, 들어), melted with the stem (데려, 가져, 가까워), or
            // after a 르 stem (올라, 흘러).
            const int v = korean::syllableVowel(last), initial = korean::syllableInitial(last);
            const bool afterRieul =
                a.size() >= 2 && korean::syllableFinal(a[a.size() - 2]) == korean::kFR;
            const bool connective =
                korean::syllableFinal(last) == korean::kNoFinal &&
                (v == korean::kYeo || v == korean::kWa || v == korean::kWo ||
                 ((initial == korean::kNg || (initial == korean::kR && afterRieul)) &&
                  (v == korean::kA || v == korean::kEo)));
            // A noun + 하다 or 되다 is a derivation of the noun, not a form of 하다.
            const bool derived = korean::derivationRoot(stem) == a;
            if (isPredicate(b) && !derived && (connective || (a.size() >= 2 && isNoun(a))))
                out.push_back(b);
        }
        return out;
    }

private:
    const korean::Lexicon& lexicon_;
    std::unordered_set<std::u32string, U32Hash> nouns_, predicates_;
};

} // namespace

std::string verseDisplayText(std::string_view s) {
    return wordtext::plainVerseText(s);
}

AnalysisSources readAnalysisSources(const std::string& hanjaTablePath,
                                    const std::string& ownLexiconPath,
                                    const std::function<void(const std::string&)>& warning,
                                    const std::string& hunspellDicPath,
                                    const std::string& hunspellAffPath) {
    AnalysisSources s;
    s.hanjaTablePath = hanjaTablePath;
    const bool hunspell = korean::readHunspellLexicon(hunspellDicPath, hunspellAffPath, s.lexicon);
    if (!hunspell && warning)
        warning("no hunspell-ko word list at " + hunspellDicPath +
                "; Korean readings are not checked against a lexicon");
    if (!korean::readOwnLexicon(ownLexiconPath, s.lexicon, s.homonymOrder) && warning)
        warning("no word list of our own at " + ownLexiconPath);
    if (!hunspell)
        s.lexicon = korean::Lexicon(); // our few words alone would reject most readings
    return s;
}

namespace {

// 함께 or a verb's purpose form before it: 함께 온 사람들, 잡으러 온 자들.
bool leadsToMotionVerb(std::u32string_view word) {
    if (word == U"함께")
        return true;
    if (!word.ends_with(U"러"))
        return false;
    const auto readings = korean::analyse(word);
    return std::any_of(readings.begin(), readings.end(), [](const korean::Analysis& a) {
        return a.wordClass == korean::WordClass::Predicate && a.parts.ends_with(U"+러");
    });
}

// What makes a form's place decide between readings.
enum ContextKind : unsigned char {
    kOwnWord = 1,      // a word of our list (온, 한): the verb only where its place says so
    kVerbFirst = 2,    // a vowel-stem verb's past determiner (간, 본, 준) that is also a noun or
                       // determiner: those readings only where its place does not say verb
    kMotion = 4,       // 오다 or 가다, which also follow 함께, a purpose form or where from
                       // (함께 온, 잡으러 간, 장로들에게서 온)
    kSaying = 8,       // 하다, which also follows what is said (되리라 한)
    kSecondSense = 16, // 이르다 "say", which is "reach" after where to or a subject (땅에
                       // 이르는, 때가 이르매)
};

bool isPastDeterminer(const korean::Analysis& a) {
    return a.wordClass == korean::WordClass::Predicate && a.parts.ends_with(U"+ㄴ");
}

// 본 (보+ㄴ) beside the noun 본: a one-syllable stem without a final and its -ㄴ alone.
bool isVowelStemDeterminer(const korean::Analysis& a) {
    return isPastDeterminer(a) && a.stem.size() == 1 &&
           korean::syllableFinal(a.stem[0]) == korean::kNoFinal && a.parts == a.stem + U"+ㄴ";
}

// An object (일을) or a verb's connective form (일러, 듣고) before a word leaves no room for a
// noun or determiner: 일을 본 사람, 일러 준 것, 듣고 본 그것들.
bool leadsToVerb(const std::vector<korean::Analysis>& readings) {
    return std::any_of(readings.begin(), readings.end(), [](const korean::Analysis& a) {
        if (a.wordClass == korean::WordClass::Noun)
            return a.parts.ends_with(U"+을") || a.parts.ends_with(U"+를");
        return a.wordClass == korean::WordClass::Predicate &&
               (a.parts.ends_with(U"+어") || a.parts.ends_with(U"+아") ||
                a.parts.ends_with(U"+고"));
    });
}

bool hasReading(const std::vector<korean::Analysis>& readings,
                const std::function<bool(const korean::Analysis&)>& test) {
    return std::any_of(readings.begin(), readings.end(), test);
}

// 에게서 and 로부터 say where one came from: 장로들에게서 온 자들.
bool saysWhereFrom(std::u32string_view word) {
    return word.ends_with(U"에게서") || word.ends_with(U"로부터");
}

// A quoted sentence before 한 (받았다 한 성경 말씀, 되리라 한 구절들); a sentence that a mark
// closes (자느냐? 한 시간도) starts anew, and a noun (바다 한 가운데) leaves 한 the determiner.
bool leadsToSaying(std::u32string_view word, const std::vector<korean::Analysis>& readings) {
    return (word.ends_with(U"다") || word.ends_with(U"라")) &&
           hasReading(readings,
                      [](const korean::Analysis& a) {
                          return a.wordClass == korean::WordClass::Predicate;
                      }) &&
           !hasReading(readings, [](const korean::Analysis& a) {
               return a.wordClass == korean::WordClass::Noun;
           });
}

// Where to (땅에, 데까지, 요한에게) or a subject (때가, 날이): what 이르다 "reach" follows.
bool leadsToArrival(const std::vector<korean::Analysis>& readings) {
    return hasReading(readings, [](const korean::Analysis& a) {
        return a.wordClass == korean::WordClass::Noun &&
               (hasPart(a, U"에") || hasPart(a, U"에게") || hasPart(a, U"까지") ||
                a.parts.ends_with(U"+이") || a.parts.ends_with(U"+가"));
    });
}

// The display text's word k ends with a mark (. , ? ! ; :).
bool endsWithMark(std::string_view text, std::uint32_t k) {
    std::size_t start = 0;
    for (std::uint32_t i = 0; i < k && start != std::string_view::npos; ++i) {
        start = text.find(' ', start);
        if (start != std::string_view::npos)
            ++start;
    }
    if (start == std::string_view::npos)
        return false;
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos)
        end = text.size();
    return end > start && std::string_view(".,?!;:").find(text[end - 1]) != std::string_view::npos;
}

// The places where such a form is a verb's past determiner (see ContextKind).
std::vector<std::uint32_t> verbReadings(const VerseIndexData& d,
                                        const std::vector<unsigned char>& context,
                                        const std::vector<std::vector<korean::Analysis>>& readings,
                                        const std::vector<std::u32string>& formTexts,
                                        const std::vector<std::uint32_t>& order) {
    std::vector<std::uint32_t> out;
    auto text = [&](std::uint32_t form) -> std::u32string_view {
        return form == kNoForm ? std::u32string_view() : formTexts[order[form]];
    };
    for (const IndexedVerse& v : d.verses)
        for (std::uint32_t k = 0; k < v.wordCount; ++k) {
            const std::uint32_t g = v.firstWord + k;
            const unsigned char kind = d.words[g] == kNoForm ? 0 : context[d.words[g]];
            if (!kind)
                continue;
            const std::uint32_t before = k > 0 ? d.words[g - 1] : kNoForm;
            const bool follows = before != kNoForm && !endsWithMark(v.text, k - 1);
            if (((kind & ~kSecondSense) && k + 1 < v.wordCount &&
                 korean::startsWithDependentNoun(text(d.words[g + 1]))) ||
                ((kind & kMotion) &&
                 (leadsToMotionVerb(text(before)) || saysWhereFrom(text(before)))) ||
                ((kind & kVerbFirst) && before != kNoForm && leadsToVerb(readings[before])) ||
                ((kind & kSaying) && follows && leadsToSaying(text(before), readings[before])) ||
                ((kind & kSecondSense) && follows && leadsToArrival(readings[before])))
                out.push_back(g);
        }
    return out;
}

} // namespace

VerseIndexData buildVerseIndexData(const std::vector<VerseSource>& verses,
                                   const AnalysisSources& sources,
                                   const std::function<void(const std::string&)>& warning) {
    VerseIndexData d;
    const auto& books = bookTableOf(kKoreanEdition);
    std::unordered_map<std::string, std::uint32_t> formIds;
    std::vector<std::u32string> formTexts;
    for (const VerseSource& src : verses) {
        const auto book = std::find_if(books.begin(), books.end(),
                                       [&](const BookRow& r) { return r.code == src.book; });
        if (book == books.end())
            continue;
        IndexedVerse v;
        v.book = static_cast<int>(book - books.begin());
        v.chapter = src.chapter;
        v.verse = src.verse;
        v.text = verseDisplayText(src.body);
        v.firstWord = static_cast<std::uint32_t>(d.words.size());
        const std::string utf8 = cp949ToUtf8(v.text);
        std::size_t start = 0;
        while (start <= utf8.size() && !utf8.empty()) {
            std::size_t end = utf8.find(' ', start);
            if (end == std::string::npos)
                end = utf8.size();
            const std::u32string form = korean::normaliseWord(
                utf8ToUtf32(std::string_view(utf8).substr(start, end - start)));
            std::uint32_t id = kNoForm;
            if (!form.empty()) {
                const std::string key = utf32ToUtf8(form);
                auto [it, added] =
                    formIds.emplace(key, static_cast<std::uint32_t>(formTexts.size()));
                if (added)
                    formTexts.push_back(form);
                id = it->second;
            }
            d.words.push_back(id);
            start = end + 1;
        }
        v.wordCount = static_cast<std::uint32_t>(d.words.size()) - v.firstWord;
        d.verses.push_back(std::move(v));
    }

    // Forms in sorted order, so that a word and its particles are neighbours.
    std::vector<std::uint32_t> order(formTexts.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::vector<std::string> utf8Forms(formTexts.size());
    for (std::size_t i = 0; i < formTexts.size(); ++i)
        utf8Forms[i] = utf32ToUtf8(formTexts[i]);
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return utf8Forms[a] < utf8Forms[b]; });
    std::vector<std::uint32_t> rank(order.size());
    for (std::uint32_t r = 0; r < order.size(); ++r) {
        rank[order[r]] = r;
        d.forms.push_back(utf8Forms[order[r]]);
    }
    for (std::uint32_t& w : d.words)
        if (w != kNoForm)
            w = rank[w];

    std::map<std::string, std::vector<std::uint32_t>> stems;
    std::vector<std::vector<korean::Analysis>> readings(order.size());
    for (std::uint32_t r = 0; r < order.size(); ++r)
        readings[r] = checkedReadings(formTexts[order[r]], sources.lexicon);
    const CompoundRules compounds(readings, sources.lexicon);
    std::vector<unsigned char> context(order.size(), 0);
    auto motion = [](const korean::Analysis& a) {
        return a.stem == U"오" || a.stem == U"가" ? kMotion : a.stem == U"하" ? kSaying : 0;
    };
    for (std::uint32_t r = 0; r < order.size(); ++r) {
        // A form that our list names as a word (한, 온, 줄) stands for that word: its other
        // readings are offered for the word, but searches for 하다, 오다 or 주다 leave it out.
        const std::u32string& form = formTexts[order[r]];
        const unsigned own = sources.lexicon.classesOf(form) >> 3;
        const bool wordOfItsOwn =
            std::any_of(readings[r].begin(), readings[r].end(), [&](const korean::Analysis& a) {
                return a.wordClass != korean::WordClass::Predicate && a.parts == form;
            });
        // A form that either sense of a verb reads (이르매) stands for the first; the
        // second holds where its place says so.
        auto firstSenseToo = [&](const korean::Analysis& a) {
            return a.stem.ends_with(korean::kSecondSense) &&
                   std::any_of(readings[r].begin(), readings[r].end(), [&](const auto& b) {
                       return b.wordClass == a.wordClass && b.stem == korean::withoutSense(a.stem);
                   });
        };
        for (const korean::Analysis& a : readings[r]) {
            const std::string stem = utf32ToUtf8(a.stem);
            const char letter = classLetter(a.wordClass);
            if (own && !(own & lexClassOf(a.wordClass))) {
                stems[std::string("~") + letter + stem].push_back(r);
                if (isPastDeterminer(a))
                    context[r] = static_cast<unsigned char>(kOwnWord | motion(a));
                continue;
            }
            if (firstSenseToo(a)) {
                stems[std::string("~") + letter + stem].push_back(r);
                context[r] |= kSecondSense;
                continue;
            }
            if (!own && wordOfItsOwn && isVowelStemDeterminer(a))
                context[r] = static_cast<unsigned char>(kVerbFirst | motion(a));
            stems[letter + stem].push_back(r);
            if (sources.lexicon.knows(a.stem, korean::ownClass(lexClassOf(a.wordClass))))
                stems.try_emplace(std::string("!") + letter + stem);
            if (a.wordClass == korean::WordClass::Predicate) {
                const std::u32string root = korean::derivationRoot(a.stem);
                if (!root.empty() && compounds.isNoun(root))
                    stems["D" + utf32ToUtf8(root)].push_back(r);
                for (const std::u32string& head : compounds.predicateHeads(a.stem))
                    stems["P" + utf32ToUtf8(head)].push_back(r);
            } else if (a.wordClass == korean::WordClass::Noun) {
                for (const std::u32string& part : compounds.nounParts(a.stem))
                    stems["C" + utf32ToUtf8(part)].push_back(r);
            }
        }
    }
    for (auto& [key, ids] : stems) {
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        d.stemKeys.push_back(key);
        d.stemForms.push_back(std::move(ids));
    }

    d.verbReadingWords = verbReadings(d, context, readings, formTexts, order);
    if (!readHomonyms(sources.hanjaTablePath, formTexts, sources.homonymOrder, d) && warning)
        warning("no hanja table at " + sources.hanjaTablePath + "; the index has no homonyms");
    return d;
}

void buildVerseIndex(const std::string& contentDbPath, const std::string& outFolder,
                     const AnalysisSources& sources,
                     const std::function<void(const std::string&)>& progress) {
    std::vector<VerseSource> verses;
    {
        Database db(contentDbPath, Database::Mode::ReadOnly);
        RecordSet rs(db, "select volcode, chap, sec, body from VRA order by sequence");
        for (; !rs.isEOF(); rs.moveNext())
            verses.push_back(
                {rs.field("volcode"), rs.field("chap"), rs.field("sec"), rs.field("body")});
    }
    const auto& books = bookTableOf(kKoreanEdition);
    auto bookIndex = [&](const std::string& code) {
        return std::find_if(books.begin(), books.end(),
                            [&](const BookRow& r) { return r.code == code; }) -
               books.begin();
    };
    std::stable_sort(verses.begin(), verses.end(), [&](const VerseSource& a, const VerseSource& b) {
        return bookIndex(a.book) < bookIndex(b.book);
    });
    const VerseIndexData data = buildVerseIndexData(verses, sources, progress);
    std::filesystem::create_directories(outFolder);
    const std::string path = outFolder + "/" + kVerseIndexFileName;
    saveVerseIndex(data, path);
    if (progress)
        progress("verse index " + path + ": " + std::to_string(data.verses.size()) + " verses, " +
                 std::to_string(data.forms.size()) + " word forms, " +
                 std::to_string(data.stemKeys.size()) + " stems, " +
                 std::to_string(data.homonymWords.size()) + " words with homonyms");
}

} // namespace qel
