#include "search/verseindexbuilder.h"

#include "search/wordtext.h"

#include "bible/booktable.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/text.h"
#include "search/koreanjamo.h"
#include "search/koreanmorphology.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
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
                  VerseIndexData& d) {
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

} // namespace

std::string verseDisplayText(std::string_view s) {
    return wordtext::plainVerseText(s);
}

VerseIndexData buildVerseIndexData(const std::vector<VerseSource>& verses,
                                   const std::string& hanjaTablePath,
                                   const std::function<void(const std::string&)>& warning) {
    VerseIndexData d;
    const auto& books = bookTableOf("VRA");
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
    for (std::uint32_t r = 0; r < order.size(); ++r) {
        const std::u32string& form = formTexts[order[r]];
        for (const korean::Analysis& a : korean::analyse(form)) {
            const std::string stem = utf32ToUtf8(a.stem);
            if (a.wordClass == korean::WordClass::Noun) {
                stems["N" + stem].push_back(r);
            } else {
                stems["V" + stem].push_back(r);
                const std::u32string root = korean::derivationRoot(a.stem);
                if (!root.empty())
                    stems["D" + utf32ToUtf8(root)].push_back(r);
            }
        }
    }
    for (auto& [key, ids] : stems) {
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        d.stemKeys.push_back(key);
        d.stemForms.push_back(std::move(ids));
    }

    if (!readHomonyms(hanjaTablePath, formTexts, d) && warning)
        warning("no hanja table at " + hanjaTablePath + "; the index has no homonyms");
    return d;
}

void buildVerseIndex(const std::string& contentDbPath, const std::string& outFolder,
                     const std::string& hanjaTablePath,
                     const std::function<void(const std::string&)>& progress) {
    std::vector<VerseSource> verses;
    {
        Database db(contentDbPath, Database::Mode::ReadOnly);
        RecordSet rs(db, "select volcode, chap, sec, body from VRA order by sequence");
        for (; !rs.isEOF(); rs.moveNext())
            verses.push_back(
                {rs.field("volcode"), rs.field("chap"), rs.field("sec"), rs.field("body")});
    }
    const auto& books = bookTableOf("VRA");
    auto bookIndex = [&](const std::string& code) {
        return std::find_if(books.begin(), books.end(),
                            [&](const BookRow& r) { return r.code == code; }) -
               books.begin();
    };
    std::stable_sort(verses.begin(), verses.end(), [&](const VerseSource& a, const VerseSource& b) {
        return bookIndex(a.book) < bookIndex(b.book);
    });
    const VerseIndexData data = buildVerseIndexData(verses, hanjaTablePath, progress);
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
