#include "searchui/searchforms.h"

#include "bible/versiontitles.h"

#include "bible/booktable.h"
#include "bible/editions.h"
#include "bible/versekey.h"
#include "platform/codec.h"
#include "platform/hangulinitials.h"
#include "platform/text.h"
#include "versesearch/bookabbreviations.h"
#include "widgets/gridtext.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

namespace qel {
namespace {

std::string replaceAll(std::string_view text, char from, std::string_view to) {
    std::string out;
    for (char c : text) {
        if (c == from)
            out += to;
        else
            out += c;
    }
    return out;
}

// The first occurrence of `word` at or after `from` that starts on a character boundary.
std::size_t findAligned(std::string_view text, std::string_view word, std::size_t from = 0) {
    if (word.empty())
        return std::string_view::npos;
    for (std::size_t i = 0; i + word.size() <= text.size();
         i += isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1)
        if (i >= from && text.compare(i, word.size(), word) == 0)
            return i;
    return std::string_view::npos;
}

// The text after the n-th blank met walking back from `position`; the whole text when
// the start comes first.
std::string_view fromBlankBefore(std::string_view text, std::size_t position, int n) {
    int blanks = 0;
    for (std::size_t i = std::min(position, text.size()); i > 0; --i)
        if (text[i - 1] == ' ' && ++blanks == n)
            return text.substr(i);
    return text;
}

} // namespace

std::string normaliseSearchQuery(std::string_view query) {
    std::size_t first = 0, last = query.size();
    while (first < last && isAsciiSpace(query[first]))
        ++first;
    while (last > first && isAsciiSpace(query[last - 1]))
        --last;
    const std::string commas = replaceAll(query.substr(first, last - first), ',', " ");
    std::string out;
    for (std::size_t i = 0; i < commas.size(); ++i) {
        out += commas[i];
        if (commas[i] == ' ' && i + 1 < commas.size() && commas[i + 1] == ' ')
            ++i;
    }
    return out;
}

bool hasShortInitialsWord(std::string_view normalisedQuery) {
    const std::u32string text = utf8ToUtf32(cp949ToUtf8(normalisedQuery));
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(U' ', start);
        if (end == std::u32string::npos)
            end = text.size();
        const std::u32string_view word = std::u32string_view(text).substr(start, end - start);
        if (korean::isInitialsOnly(word) && word.size() < korean::kMinInitials)
            return true;
        start = end + 1;
    }
    return false;
}

VerseQuery verseQuery(std::string_view query, int mode) {
    VerseQuery q;
    q.text = normaliseSearchQuery(query);
    q.nWords = 1 + static_cast<int>(std::count(q.text.begin(), q.text.end(), ' '));
    if (mode == kModeAnd) {
        q.text = replaceAll(q.text, ' ', " && ");
    } else if (mode == kModeOr) {
        q.text = replaceAll(q.text, ' ', " || ");
        q.nWords = 1;
    }
    return q;
}

int verseEngineType(int searchTypeIndex) {
    return searchTypeIndex >= 0 && searchTypeIndex <= 2 ? searchTypeIndex + 1 : 1;
}

std::string verseRangeText(int rangeIndex, std::string_view itemText) {
    if (rangeIndex < 0)
        return {};
    if (rangeIndex <= 2)
        return std::string(itemText);
    return abbreviationOfBookName(itemText);
}

std::string verseRowCell(std::string_view text, std::string_view positions, bool center) {
    std::vector<int> hits;
    for (std::size_t i = 0; i < positions.size();) {
        if (positions[i] < '0' || positions[i] > '9') {
            ++i;
            continue;
        }
        long value = 0;
        for (; i < positions.size() && positions[i] >= '0' && positions[i] <= '9'; ++i)
            value = std::min(value * 10 + (positions[i] - '0'), 1'000'000L);
        hits.push_back(static_cast<int>(value));
    }
    int shift = 0;
    if (center && !hits.empty() && hits.front() > 3) {
        shift = hits.front() - 3;
        for (int k = 0; k < shift; ++k) {
            const std::size_t blank = text.find(' ');
            if (blank == std::string_view::npos)
                break;
            text.remove_prefix(blank + 1);
        }
    }
    std::string cell;
    for (int hit : hits)
        cell += std::to_string(hit - shift) + "|";
    return cell + "|" + std::string(text);
}

std::string wordQueryText(std::string_view q, int mode, int type) {
    if (mode == kModePhrase)
        return "\"" + std::string(q) + "\"&~";
    const bool all = type == kTypeAllForms;
    const char* join = mode == kModeAnd ? (all ? "*&" : "&") : (all ? "*#" : "#");
    std::string out;
    for (char c : q) {
        if (c == ' ')
            out += join;
        else
            out += c;
    }
    return out + join + "~";
}

std::string wordRangeText(int rangeIndex, std::string_view bookName, std::string_view versionCode) {
    static const std::array<const char*, 3> kWhole = {"all", "old", "new"};
    if (rangeIndex >= 0 && rangeIndex <= 2)
        return kWhole[rangeIndex];
    return bookCodeOf(bookName, versionCode);
}

WordReference splitWordReference(std::string_view reference) {
    WordReference r;
    const std::size_t colon = reference.rfind(':');
    if (colon == std::string_view::npos) {
        r.verse = "0";
    } else {
        r.verse = std::string(reference.substr(colon + 1));
        reference = reference.substr(0, colon);
    }
    const std::size_t blank = reference.rfind(' ');
    if (blank != std::string_view::npos) {
        const std::string_view chapter = reference.substr(blank + 1);
        r.chapter = !chapter.empty() && chapter[0] == '0' ? "1" : std::string(chapter);
        reference = reference.substr(0, blank);
    }
    r.book = reference.size() > 6 ? std::string(reference.substr(6)) : std::string();
    return r;
}

std::string centredWordText(std::string_view verse, std::string_view query, int mode, int type,
                            bool center) {
    if (!center)
        return std::string(verse);
    if (mode == kModePhrase) {
        const std::size_t at = findAligned(verse, query);
        return std::string(at == std::string_view::npos ? verse : fromBlankBefore(verse, at, 4));
    }
    std::size_t first = 999;
    std::string_view words = query;
    while (!words.empty()) {
        const std::size_t blank = words.find(' ');
        const std::string_view word = words.substr(0, blank);
        words = blank == std::string_view::npos ? std::string_view() : words.substr(blank + 1);
        for (std::size_t at = findAligned(verse, word); at != std::string_view::npos && at < first;
             at = findAligned(verse, word, at + 1)) {
            const std::size_t end = at + word.size();
            if (type == kTypeBasic && (end >= verse.size() || verse[end] != ' '))
                continue;
            first = at;
        }
    }
    return std::string(first == 999 ? verse : fromBlankBefore(verse, first, 3));
}

std::string wordHighlightText(std::string_view query) {
    std::string out(query);
    std::replace(out.begin(), out.end(), '"', ' ');
    std::replace(out.begin(), out.end(), ',', ' ');
    return out;
}

int wordSearchVersionCount() {
    return static_cast<int>(editionsBy(&Edition::wordIndex).size());
}

WordSearchVersionInfo wordSearchVersionInfo(int index) {
    const Edition* edition = editionAt(&Edition::wordIndex, index);
    if (!edition)
        edition = editionAt(&Edition::wordIndex, 0);
    // Item text and copied title are the same for every version.
    const std::string title = versionShortTitle(edition->listedCode());
    return {title, edition->code, title};
}

bool isEnglishWordSearchVersion(int index) {
    const Edition* edition = editionAt(&Edition::wordIndex, index);
    return edition && edition->language == EditionLanguage::English;
}

TypedQuery typedQueryMode(std::string_view query, int mode) {
    static const std::string kAnd[] = {"AND", utf8ToCp949("그리고")};
    static const std::string kOr[] = {"OR", utf8ToCp949("또는")};
    const auto isOneOf = [](std::string_view word, const std::string(&list)[2]) {
        return word == list[0] || word == list[1];
    };
    std::string words;
    bool sawAnd = false;
    bool sawOr = false;
    for (std::size_t start = 0; start <= query.size();) {
        std::size_t end = query.find(' ', start);
        if (end == std::string_view::npos)
            end = query.size();
        const std::string_view word = query.substr(start, end - start);
        if (isOneOf(word, kAnd))
            sawAnd = true;
        else if (isOneOf(word, kOr))
            sawOr = true;
        else if (!word.empty())
            words += (words.empty() ? "" : " ") + std::string(word);
        start = end + 1;
    }
    if (sawAnd == sawOr || words.empty())
        return {std::string(query), mode};
    return {words, sawAnd ? kModeAnd : kModeOr};
}

std::string verseResultCopyLine(std::string_view cell3, std::string_view abbreviation,
                                std::string_view chapter, std::string_view verse) {
    std::string name = bookNameOfAbbreviation(abbreviation);
    if (name.empty())
        name = std::string(abbreviation);
    return wordResultCopyLine(0, name, chapter, verse, splitHitPositions(cell3).text);
}

std::string wordResultCopyLine(int versionIndex, std::string_view book, std::string_view chapter,
                               std::string_view verse, std::string_view text) {
    // "text (title book chapter:verse)", without ":verse" for a verse "0".
    std::string line = std::string(text) + " (" + wordSearchVersionInfo(versionIndex).copyTitle +
                       " " + std::string(book) + " " + std::string(chapter);
    if (verse != "0")
        line += ":" + std::string(verse);
    return line + ")\r\n";
}

std::string verseResultCommandKey(std::string_view abbreviation, std::string_view chapter,
                                  std::string_view verse) {
    const std::string name = bookNameOfAbbreviation(abbreviation);
    const std::string code = name.empty() ? std::string() : bookCodeOf(name, kKoreanEdition);
    if (code.empty())
        return {};
    return verseSearchResultKey(code, chapter, verse);
}

std::string wordResultCommandKey(std::string_view versionCode, std::string_view book,
                                 std::string_view chapter, std::string_view verse) {
    std::string code;
    for (const BookRow& row : bookTableOf(versionCode))
        if (row.abbreviation == book) {
            code = row.code;
            break;
        }
    if (code.empty())
        return {};
    return wordSearchResultKey(versionCode, code, chapter, verse);
}

} // namespace qel
