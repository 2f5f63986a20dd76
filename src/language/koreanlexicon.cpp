#include "language/koreanlexicon.h"

#include "language/koreanjamo.h"
#include "platform/codec.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qel::korean {

namespace {

// hunspell-ko's flags: 1 marks a piece that stands only inside compounds, 15 a forbidden
// spelling, 45 the conjugation of predicates, 530 and up the particles of nouns, 540 the
// few particles an adverb takes.
constexpr int kOnlyInCompound = 1;
constexpr int kForbidden = 15;
constexpr int kConjugation = 45;
constexpr int kFirstParticle = 530;
constexpr int kAdverbParticles = 540;

std::vector<int> flagList(std::string_view text) {
    std::vector<int> out;
    std::size_t at = 0;
    while (at < text.size()) {
        int v = 0;
        const auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), v);
        if (ec != std::errc())
            break;
        out.push_back(v);
        at = static_cast<std::size_t>(end - text.data());
        while (at < text.size() && text[at] == ',')
            ++at;
    }
    return out;
}

unsigned classesOfFlags(const std::vector<int>& flags, std::u32string_view word) {
    auto has = [&](int f) { return std::find(flags.begin(), flags.end(), f) != flags.end(); };
    if (has(kOnlyInCompound) || has(kForbidden))
        return 0;
    if (flags.empty() || (flags.size() == 1 && flags[0] == kAdverbParticles))
        return kLexModifier;
    if (has(kConjugation) && word.size() >= 2 && word.back() == U'다')
        return kLexPredicate;
    if (std::any_of(flags.begin(), flags.end(), [](int f) { return f >= kFirstParticle; }))
        return kLexNoun;
    return 0;
}

} // namespace

std::size_t Lexicon::Hash::operator()(std::u32string_view s) const noexcept {
    std::size_t h = 1469598103934665603ull;
    for (char32_t c : s)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

void Lexicon::add(std::u32string word, unsigned classes) {
    if (!word.empty() && classes)
        words_[std::move(word)] |= static_cast<unsigned char>(classes);
}

unsigned Lexicon::classesOf(std::u32string_view word) const {
    const auto it = words_.find(word);
    return it == words_.end() ? 0 : it->second;
}

bool readHunspellLexicon(const std::string& dicPath, const std::string& affPath, Lexicon& lexicon) {
    std::ifstream aff(affPath), dic(dicPath);
    if (!aff || !dic)
        return false;
    // Flag aliases: the n-th "AF" line after the count is alias n.
    std::vector<std::vector<int>> aliases;
    std::string line;
    bool counted = false;
    while (std::getline(aff, line)) {
        if (line.rfind("AF ", 0) != 0) {
            if (counted && line.rfind("SFX", 0) == 0)
                break; // the aliases come before the affix rules
            continue;
        }
        if (!counted) {
            counted = true;
            continue;
        }
        aliases.push_back(flagList(std::string_view(line).substr(3)));
    }
    if (!std::getline(dic, line)) // entry count
        return false;
    lexicon.reserve(static_cast<std::size_t>(std::atol(line.c_str())));
    while (std::getline(dic, line)) {
        const std::size_t slash = line.find('/');
        const std::string_view text = std::string_view(line).substr(0, slash);
        std::vector<int> flags;
        if (slash != std::string::npos) {
            int alias = 0;
            const std::string_view f = std::string_view(line).substr(slash + 1);
            std::from_chars(f.data(), f.data() + f.size(), alias);
            if (alias >= 1 && static_cast<std::size_t>(alias) <= aliases.size())
                flags = aliases[static_cast<std::size_t>(alias) - 1];
        }
        std::u32string word = fromJamo(utf8ToUtf32(text));
        if (word.empty() || !std::all_of(word.begin(), word.end(), isSyllable))
            continue;
        const unsigned cls = classesOfFlags(flags, word);
        if (cls == kLexPredicate)
            word.pop_back();
        lexicon.add(std::move(word), cls);
    }
    return true;
}

bool readOwnLexicon(const std::string& path, Lexicon& lexicon, std::vector<HomonymOrder>& order) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (const std::size_t hash = line.find('#'); hash != std::string::npos)
            line.resize(hash);
        std::istringstream fields(line);
        std::string tag, word;
        if (!(fields >> tag >> word))
            continue;
        std::u32string w = utf8ToUtf32(word);
        if (tag == "H") {
            HomonymOrder h{std::move(w), {}};
            for (std::string hanja; fields >> hanja;)
                h.hanja.push_back(utf8ToUtf32(hanja));
            order.push_back(std::move(h));
        } else if (tag == "N") {
            lexicon.add(std::move(w), kLexNoun | ownClass(kLexNoun));
        } else if (tag == "M") {
            lexicon.add(std::move(w), kLexModifier | ownClass(kLexModifier));
        } else if (tag == "V" && w.size() >= 2 && w.back() == U'다') {
            w.pop_back();
            lexicon.add(std::move(w), kLexPredicate | ownClass(kLexPredicate));
        }
    }
    return true;
}

} // namespace qel::korean
