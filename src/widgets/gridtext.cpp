#include "widgets/gridtext.h"

#include "platform/codec.h"
#include "platform/text.h"

#include <algorithm>

namespace qel {
namespace {

bool isSeparator(char c) {
    return c == '|' || c == '#';
}

std::size_t charLength(std::string_view s, std::size_t i) {
    return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Letters, digits and Korean characters make words; blanks and punctuation part them.
bool isWordByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x80 || isAsciiDigit(c) || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

enum class Match { Anywhere, WholeWord, WordStart };

void addSpans(std::string_view text, std::string_view word, Match match,
              std::vector<TextSpan>& spans) {
    if (word.empty())
        return;
    bool afterWord = false; // the character before i belongs to a word
    for (std::size_t i = 0; i + word.size() <= text.size(); i += charLength(text, i)) {
        const bool startsWord = !afterWord;
        afterWord = isWordByte(text[i]);
        if (text.compare(i, word.size(), word) != 0 || (match != Match::Anywhere && !startsWord))
            continue;
        std::size_t end = i + word.size();
        const bool endsWord = end >= text.size() || !isWordByte(text[end]);
        if (match == Match::WholeWord && !endsWord)
            continue;
        if (match == Match::WordStart)
            while (end < text.size() && isWordByte(text[end]))
                end += charLength(text, end);
        spans.push_back({i, end - i});
    }
}

Match matchOf(const HighlightWords& words) {
    if (words.wholeWord)
        return Match::WholeWord;
    return words.wordStarts ? Match::WordStart : Match::Anywhere;
}

} // namespace

HitPositionCell splitHitPositions(std::string_view cell) {
    HitPositionCell out;
    std::size_t i = 0;
    while (i < cell.size() && isAsciiDigit(cell[i])) {
        int value = 0;
        for (; i < cell.size() && isAsciiDigit(cell[i]); ++i)
            value = std::min(value * 10 + (cell[i] - '0'), 1'000'000);
        if (i >= cell.size() || !isSeparator(cell[i]))
            break;
        out.positions.push_back(value);
        if (++i < cell.size() && isSeparator(cell[i])) {
            out.text = cell.substr(i + 1);
            return out;
        }
    }
    return {{}, cell};
}

std::string cutCellText(std::string_view text) {
    if (text.size() <= kGridCellTextLimit)
        return std::string(text);
    std::size_t n = 0;
    while (n < kGridCellTextLimit) {
        const std::size_t len = charLength(text, n);
        if (n + len > kGridCellTextLimit)
            break;
        n += len;
    }
    return std::string(text.substr(0, n)) + " ...";
}

std::vector<TextSpan> positionSpans(std::string_view text, const std::vector<int>& positions) {
    std::vector<TextSpan> spans;
    int word = 1;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start && std::find(positions.begin(), positions.end(), word) != positions.end())
            spans.push_back({start, end - start});
        if (end >= text.size())
            break;
        ++word;
        start = end + 1;
    }
    return spans;
}

std::vector<TextSpan> wordSpans(std::string_view text, const HighlightWords& words) {
    std::vector<TextSpan> spans;
    if (words.phrase) {
        addSpans(text, words.text, Match::Anywhere, spans);
    } else {
        std::string_view rest = words.text;
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            addSpans(text, rest.substr(0, blank), matchOf(words), spans);
            rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
        }
    }
    // Overlapping matches of different words merge into one span.
    std::sort(spans.begin(), spans.end(),
              [](const TextSpan& a, const TextSpan& b) { return a.start < b.start; });
    std::vector<TextSpan> merged;
    for (const TextSpan& s : spans) {
        if (!merged.empty() && s.start <= merged.back().start + merged.back().length) {
            TextSpan& last = merged.back();
            last.length = std::max(last.start + last.length, s.start + s.length) - last.start;
        } else {
            merged.push_back(s);
        }
    }
    return merged;
}

} // namespace qel
