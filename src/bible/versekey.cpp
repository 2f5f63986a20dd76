#include "bible/versekey.h"

#include "platform/text.h"

#include <algorithm>
#include <cstdio>

namespace qel {
namespace {

constexpr std::size_t kFullVerseKeyLength = 12;

std::string padLeft(std::string_view text, std::size_t width, char fill) {
    std::string out;
    if (text.size() < width)
        out.assign(width - text.size(), fill);
    out.append(text);
    return out;
}

std::string blankPad3(std::string_view text) {
    return padLeft(text, 3, ' ');
}

std::string stripLeadingZeros(std::string_view text) {
    const std::size_t first = text.find_first_not_of('0');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

} // namespace

std::string verseKey(std::string_view book, int chapter, int verse) {
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, "%03d%03d", chapter, verse);
    return std::string(book) + numbers;
}

std::string verseKey(std::string_view book, std::string_view chapter, std::string_view verse) {
    return verseKey(book, atoiText(chapter), atoiText(verse));
}

std::string zeroPad3(std::string_view text) {
    return padLeft(text, 3, '0');
}

std::string fullVerseKey(std::string_view version, std::string_view book, std::string_view chapter,
                         std::string_view verse) {
    return std::string(version) + std::string(book) + zeroPad3(chapter) + zeroPad3(verse);
}

std::optional<FullVerseKey> parseFullVerseKey(std::string_view key) {
    if (key.size() < kFullVerseKeyLength)
        return std::nullopt;
    return FullVerseKey{std::string(key.substr(0, 3)), std::string(key.substr(3, 3)),
                        stripLeadingZeros(key.substr(6, 3)), stripLeadingZeros(key.substr(9))};
}

bool isVerseKey(std::string_view key) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto isCodeCharacter = [&](char c) { return isDigit(c) || (c >= 'a' && c <= 'z'); };
    return key.size() == 9 && std::all_of(key.begin(), key.begin() + 3, isCodeCharacter) &&
           std::all_of(key.begin() + 3, key.end(), isDigit);
}

std::optional<CommandKey> parseCommandKey(std::string_view key) {
    if (key.empty())
        return std::nullopt;
    const char letter = key.front();
    const std::string_view payload = key.substr(1);
    switch (letter) {
    case 'B':
        return CommandKey{letter, std::string(payload), std::string(payload.substr(0, 3))};
    case 'C':
    case 'H':
    case 'I':
    case 'M':
    case 'P':
    case 'U':
    case 'W':
        break;
    default:
        return std::nullopt;
    }
    return CommandKey{letter, std::string(payload), {}};
}

bool isCommandVerseKey(std::string_view key) {
    return key.size() == kFullVerseKeyLength + 1 && key.front() == 'B';
}

std::string verseSearchResultKey(std::string_view book, std::string_view chapter,
                                 std::string_view verse) {
    return "BVRA" + blankPad3(book) + zeroPad3(chapter) + zeroPad3(verse);
}

std::string wordSearchResultKey(std::string_view version, std::string_view book,
                                std::string_view chapter, std::string_view verse) {
    return "B" + blankPad3(version) + blankPad3(book) + zeroPad3(chapter) + zeroPad3(verse);
}

std::string noteListKey(std::string_view version, std::string_view book, std::string_view chapter,
                        std::string_view verse) {
    return "B" + std::string(version) + blankPad3(book) + zeroPad3(chapter) + zeroPad3(verse);
}

std::string parallelPlaceKey(std::string_view book, std::string_view chapter,
                             std::string_view verse) {
    return std::string(book) + zeroPad3(chapter) + zeroPad3(verse);
}

} // namespace qel
