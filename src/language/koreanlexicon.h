#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The words the Korean analysis may offer: a reading is a real word only when the lexicon
// knows its stem in that part of speech. Read when the index is built, from Debian's
// hunspell-ko word list and from our own list of the Bible's names and old words.
namespace qel::korean {

// Debian's hunspell-ko (MPL-1.1 or GPL-2+ or LGPL-2.1+).
constexpr const char* kHunspellDicPath = "/usr/share/hunspell/ko.dic";
constexpr const char* kHunspellAffPath = "/usr/share/hunspell/ko.aff";

enum LexClass : unsigned char {
    kLexNoun = 1,      // nouns, pronouns, numerals
    kLexPredicate = 2, // verbs and adjectives, kept without -다
    kLexModifier = 4,  // determiners and adverbs (새, 한, 함께, 곧)
};

// The same class named by our own list: that sense of the word comes first, and a form
// that is the word itself is read as that word only in stem searches.
constexpr unsigned ownClass(unsigned cls) {
    return cls << 3;
}

class Lexicon {
public:
    bool empty() const { return words_.empty(); }
    std::size_t size() const { return words_.size(); }
    void add(std::u32string word, unsigned classes);
    void reserve(std::size_t words) { words_.reserve(words_.size() + words); }
    // Classes known for the word (a predicate stem without -다), 0 when unknown.
    unsigned classesOf(std::u32string_view word) const;
    bool knows(std::u32string_view word, unsigned cls) const { return classesOf(word) & cls; }

private:
    // Looked up by view, so that the analysis of every form allocates nothing.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::u32string_view s) const noexcept;
    };
    std::unordered_map<std::u32string, unsigned char, Hash, std::equal_to<>> words_;
};

// Homonyms the Bible means, in the order a reader wants them (성전 → 聖殿 first).
struct HomonymOrder {
    std::u32string hangul;
    std::vector<std::u32string> hanja;
};

// Reads hunspell-ko: entries in conjoining jamo with numeric flags through AF aliases.
// Particle flags mark nouns, conjugation flags dictionary forms in -다, entries without
// affixes (or with the adverb's few) determiners and adverbs; compound-only entries are
// skipped. False when the files cannot be read.
[[nodiscard]] bool readHunspellLexicon(const std::string& dicPath, const std::string& affPath,
                                       Lexicon& lexicon);

// Reads our own list (UTF-8): "N word", "V word다", "M word", and "H 한글 漢字 漢字 ...";
// '#' starts a comment. Entries of this list come first among the readings of a word.
[[nodiscard]] bool readOwnLexicon(const std::string& path, Lexicon& lexicon,
                                  std::vector<HomonymOrder>& order);

} // namespace qel::korean
