#pragma once

#include "language/koreanmorphology.h"
#include "versesearch/queryparser.h"
#include "versesearch/resultfile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The verse-search index of the VRA text: the display text of every verse, its words, the
// distinct word forms, the stems each form can be read as, and Sino-Korean homonyms.
namespace qel {

constexpr const char* kVerseIndexFileName = "VRA.idx";
constexpr std::uint32_t kNoForm = 0xFFFFFFFFu;

struct IndexedVerse {
    int book = 0; // 0..65 in canonical order
    std::string chapter, verse;
    std::string text; // display text (CP949), words separated by single blanks
    std::uint32_t firstWord = 0, wordCount = 0;
};

struct Homonym {
    std::string hanja, gloss; // CP949
};

// What the file holds. Stem keys are a letter + the stem in UTF-8: 'N' noun, 'V' predicate,
// 'M' determiner or adverb, 'D' noun root of a derived predicate, 'C' part of a compound
// noun, 'P' head of a compound predicate; '!' + a class letter + stem (with no forms) marks
// the Bible's own sense of a word, which its readings offer first; '~' + a class letter +
// stem holds forms that have the reading but that a search for the stem leaves out.
struct VerseIndexData {
    std::vector<IndexedVerse> verses;
    std::vector<std::uint32_t> words;  // form of each word, or kNoForm
    std::vector<std::string> forms;    // sorted, UTF-8
    std::vector<std::string> stemKeys; // sorted
    std::vector<std::vector<std::uint32_t>> stemForms;
    std::vector<std::string> homonymWords; // sorted, UTF-8
    std::vector<std::vector<Homonym>> homonyms;
    // Words (positions in `words`) whose form is a word of its own elsewhere but here, by
    // what stands around it, a verb's determiner (온 줄로, 떠 온), or a verb's second sense
    // (땅에 이르는): sorted.
    std::vector<std::uint32_t> verbReadingWords;
};

// Throws std::runtime_error when the file cannot be written.
void saveVerseIndex(const VerseIndexData& data, const std::string& path);
// False (with a reason) for a missing, short or malformed file.
[[nodiscard]] bool loadVerseIndex(const std::string& path, VerseIndexData& data,
                                  std::string& error);

enum class SearchType { Basic = 1, Inflected = 2, Extended = 3 };

class VerseIndex {
public:
    explicit VerseIndex(VerseIndexData data);

    const VerseIndexData& data() const { return data_; }

    // The display text of a verse. The texts lie one after another in verse order, so that
    // reading a result verse after verse reads memory forward.
    std::string_view verseText(std::size_t verse) const {
        return std::string_view(texts_).substr(textStart_[verse],
                                               textStart_[verse + 1] - textStart_[verse]);
    }

    // Forms of a word as written, with particles after it (type 1).
    std::vector<std::uint32_t> surfaceMatches(std::u32string_view word) const;
    // Forms read with this stem (type 2) or also its derivations and compounds (type 3).
    std::vector<std::uint32_t> stemMatches(korean::WordClass cls, std::u32string_view stem,
                                           SearchType type) const;
    std::size_t formCountOfStem(korean::WordClass cls, std::u32string_view stem) const;
    const std::vector<std::uint32_t>* formsOfKey(std::string_view key) const;
    bool hasForm(std::u32string_view word) const;
    // The form's number, or kNoForm when the text does not have it.
    std::uint32_t formIndex(std::u32string_view word) const;

    // A word typed without its blanks ("주의율법") split into forms of the text; empty when
    // the word occurs as it is or no split exists.
    std::vector<std::u32string> splitRunTogether(std::u32string_view word) const;

    // Stem keys (indexes into data().stemKeys) of the nouns, predicates and modifiers whose
    // stem or dictionary form has exactly these initial letters (ㅎㄴㄴ: 하나님).
    std::vector<std::uint32_t> stemsWithInitials(std::u32string_view initials) const;

    // Verses that hold any of the forms.
    std::size_t verseCountOf(const std::vector<std::uint32_t>& forms) const;
    // The verse of a word (a position in data().words).
    std::uint32_t verseOfWord(std::uint32_t word) const { return verseOfWord_[word]; }

    const std::vector<Homonym>* homonymsOf(std::u32string_view word) const;

    // The verse of a result reference, or -1.
    int verseOfReference(std::string_view reference) const;
    std::string_view referenceText(std::size_t verse) const {
        return std::string_view(referenceTexts_)
            .substr(referenceStart_[verse], referenceStart_[verse + 1] - referenceStart_[verse]);
    }

    // Runs a parsed query; words of kind Surface/Literal are matched as written, the others
    // by stem. Verses outside [firstBook, lastBook] are left out. The hits are the words
    // found (positions in data().words), in order, so that verse and place follow.
    std::vector<std::uint32_t> search(const ParsedQuery& query, SearchType type, int firstBook,
                                      int lastBook) const;
    // The result file's text of the hits; `verses`, when given, receives the verse of each
    // run of hits, in order.
    std::string resultText(const std::vector<std::uint32_t>& hits,
                           std::vector<std::uint32_t>* verses = nullptr) const;

    // True when the word at this position takes the reading its place gives it: the verb,
    // or the verb's second sense (see verbReadingWords).
    bool readsAsVerb(std::uint32_t word) const;

private:
    // Where a query word's reading of a form holds: at every place, only where the place gives
    // the form its held-apart reading, or only elsewhere.
    enum class PlaceRule : unsigned char { Anywhere, WhereThePlaceSays, ElsewhereOnly };
    PlaceRule placeRule(const QueryWord& word, SearchType type, std::uint32_t form) const;
    bool fitsPlace(PlaceRule rule, std::uint32_t at) const;
    bool readingFits(const QueryWord& word, SearchType type, std::uint32_t at) const;
    // True when readingFits may say no for this form.
    bool hasContext(std::uint32_t form) const;
    std::vector<std::uint32_t> matchesOf(const QueryWord& word, SearchType type) const;

    VerseIndexData data_;
    std::vector<std::uint32_t> postingStart_, postings_;   // word positions of each form
    std::vector<std::uint32_t> postingVerses_;             // the verse of each posting
    std::vector<std::uint32_t> verseOfWord_, firstWordOf_; // of each word, of each verse
    // When verseOfWord_ never goes back: the first word whose verse is v or later, for each
    // verse and the end. Hits in order find their verses here, in a table small enough to
    // stay in the cache, instead of one jump through verseOfWord_ each.
    std::vector<std::uint32_t> wordStart_;
    // Texts and references one after another in verse order: a result is read forward.
    std::string texts_, referenceTexts_;
    std::vector<std::uint32_t> textStart_, referenceStart_; // of each verse, and the end
    std::vector<std::uint32_t> versesByReference_;          // sorted by reference, stable
    // Forms that verbReadingWords may hold: words of their own that are the verb only
    // where it says so (온), and verb forms that are a noun or determiner only where it does
    // not (본).
    std::vector<std::uint32_t> contextForms_, verbFirstForms_;
    // Initial letters of each stem (and dictionary form) with its key: sorted.
    std::vector<std::pair<std::u32string, std::uint32_t>> initials_;
};

} // namespace qel
