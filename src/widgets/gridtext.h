#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What a grid cell shows: its text without the leading hit-position list, cut to the
// display limit, and the byte ranges drawn in the highlight colour. Text is CP949.
namespace qel {

constexpr std::size_t kGridCellTextLimit = 500;

// A cell that starts with a hit-position list ("7|12||text", or with "#" as separator)
// gives the positions and the text after the list; any other cell gives no positions and
// its whole text.
struct HitPositionCell {
    std::vector<int> positions; // 1-based word indexes
    std::string_view text;
};
HitPositionCell splitHitPositions(std::string_view cell);

// The first kGridCellTextLimit bytes plus " ..." when longer; never ends inside a
// double-byte character.
std::string cutCellText(std::string_view text);

// How the words of a highlight text are matched (the word search's mode and type).
struct HighlightWords {
    std::string text;       // blank-separated words, or one phrase
    bool phrase = false;    // the whole text is one phrase
    bool wholeWord = false; // only whole words: "he" is not found in "when" or "the"
    // Only at the beginning of a word, which is shown whole ("love" shows "loved").
    bool wordStarts = false;
};

struct TextSpan {
    std::size_t start = 0, length = 0;
    bool operator==(const TextSpan&) const = default;
};

// Byte ranges, in order and not overlapping, of the words at `positions` (words are
// separated by blanks and counted from 1).
std::vector<TextSpan> positionSpans(std::string_view text, const std::vector<int>& positions);

// Byte ranges of the occurrences of the highlight words; a match never starts inside a
// double-byte character.
std::vector<TextSpan> wordSpans(std::string_view text, const HighlightWords& words);

} // namespace qel
