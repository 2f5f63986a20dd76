#pragma once

#include <optional>
#include <string>
#include <string_view>

// Keys that name a place in the Bible text. Chapter and verse travel as text: a verse label
// may be a range such as "3-5".
namespace qel {

// Verse key "%s%03d%03d", e.g. "gen001001"; chapter and verse texts go through atoiText.
std::string verseKey(std::string_view book, int chapter, int verse);
std::string verseKey(std::string_view book, std::string_view chapter, std::string_view verse);

// Left-pads with '0' to three characters; longer texts stay whole ("1" -> "001").
std::string zeroPad3(std::string_view text);

// Full verse key "%s%s%03s%03s": version + book + padded chapter + padded verse,
// e.g. "VRAgen001001".
std::string fullVerseKey(std::string_view version, std::string_view book, std::string_view chapter,
                         std::string_view verse);

struct FullVerseKey {
    std::string version, book, chapter, verse;
    bool operator==(const FullVerseKey&) const = default;
};

// Splits version (0-2), book (3-5), chapter (6-8) and verse (9..end) and strips leading
// '0's from chapter and verse, so that "000" leaves the field empty. Keys shorter than 12
// characters give nothing.
std::optional<FullVerseKey> parseFullVerseKey(std::string_view key);

// True for a verse key as "Last Staus" stores it: a book code of three lower-case letters
// or digits, then chapter and verse of three digits each ("gen001001").
bool isVerseKey(std::string_view key);

// A letter and a payload, handed to the main frame's dispatcher.
struct CommandKey {
    char letter;
    std::string payload;
    // "B" keys: the version to open, the first three characters of the payload.
    std::string version;
    bool operator==(const CommandKey&) const = default;
};

// Letters B C H I M P U W with any payload. A "B" payload starts with a version code; when
// it is a full verse key it names the place, else the window opens at its remembered place.
std::optional<CommandKey> parseCommandKey(std::string_view key);

// The fixed-size form the command line and the companion protocol carry: "B" + a
// 12-character full verse key.
bool isCommandVerseKey(std::string_view key);

// "B" keys as the result lists write them; "%3s" fields are right-aligned with blanks and
// chapter and verse are zero-padded as by zeroPad3.
std::string verseSearchResultKey(std::string_view book, std::string_view chapter,
                                 std::string_view verse); // "BVRA%3s%03s%03s"
std::string wordSearchResultKey(std::string_view version, std::string_view book,
                                std::string_view chapter,
                                std::string_view verse); // "B%3s%3s%03s%03s"
std::string noteListKey(std::string_view version, std::string_view book, std::string_view chapter,
                        std::string_view verse); // "B%s%3s%03s%03s"

// The parallel window's own place key "%s%03s%03s" (book + chapter + verse).
std::string parallelPlaceKey(std::string_view book, std::string_view chapter,
                             std::string_view verse);

} // namespace qel
