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

void addSpans(std::string_view text, std::string_view word, bool wholeWord,
              std::vector<TextSpan>& spans) {
    if (word.empty())
        return;
    for (std::size_t i = 0; i + word.size() <= text.size(); i += charLength(text, i)) {
        if (text.compare(i, word.size(), word) != 0)
            continue;
        const std::size_t end = i + word.size();
        if (wholeWord && (end >= text.size() || text[end] != ' '))
            continue;
        spans.push_back({i, word.size()});
    }
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
        addSpans(text, words.text, false, spans);
    } else {
        std::string_view rest = words.text;
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            addSpans(text, rest.substr(0, blank), words.wholeWord, spans);
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
