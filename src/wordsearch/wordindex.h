#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

// The word index of one Bible version ("%d.m14"): everything a word search needs, so it
// runs without the content database. Little-endian, sections 8-byte aligned:
//   header        magic, sizes, version code, the table of sections
//   books         book codes in reading order, 8 bytes each
//   book starts   first verse id of each book, and the verse count at the end
//   verses        per verse: plain text, "chap:verse" label, book, its run of word ids
//   texts, labels the bytes those records point into (CP949, texts end with a zero byte)
//   words         the word ids of every verse in reading order (phrases are checked here)
//   vocabulary    sorted by key: key, and the run of verse ids that hold the word
//   keys          the words, UTF-8 with ASCII letters in lower case
//   postings      verse ids, ascending within each word
namespace wordindex {

inline constexpr char kMagic[8] = {'Q', 'E', 'L', 'W', 'I', 'D', 'X', '1'};

enum Section : std::uint32_t {
    kBooks,
    kBookStarts,
    kVerses,
    kTexts,
    kLabels,
    kWords,
    kVocabulary,
    kKeys,
    kPostings,
    kSectionCount
};

struct SectionRef {
    std::uint32_t offset;
    std::uint32_t size;
};

struct Header {
    char magic[8];
    std::uint32_t fileSize;
    std::uint32_t verseCount;
    std::uint32_t bookCount;
    std::uint32_t tokenCount;
    char version[8];
    SectionRef sections[kSectionCount];
};

struct VerseRecord {
    std::uint32_t text;
    std::uint32_t textLength;
    std::uint32_t label;
    std::uint16_t labelLength;
    std::uint16_t book;
    std::uint32_t firstWord;
    std::uint32_t wordCount;
};

struct TokenRecord {
    std::uint32_t key;
    std::uint32_t keyLength;
    std::uint32_t firstPosting;
    std::uint32_t postingCount;
};

inline constexpr std::size_t kBookCodeSize = 8;

} // namespace wordindex

// A read-only view of an index file, mapped into memory. Opening checks the header and
// every record (offsets inside the file, verses in their books, word and verse ids in
// range, keys in order), so a damaged file is refused rather than searched.
class WordIndex {
public:
    struct Verse {
        std::uint32_t book = 0;
        std::string_view label; // "chap:verse"
        std::string_view text;  // plain text, CP949
    };

    WordIndex() = default;
    ~WordIndex() { close(); }
    WordIndex(const WordIndex&) = delete;
    WordIndex& operator=(const WordIndex&) = delete;

    // False when the file is missing, is not a word index or is damaged.
    [[nodiscard]] bool open(const std::string& path);
    void close();
    bool isOpen() const { return data_ != nullptr; }
    // True when `path` is still the very file this index was opened from (same file, size
    // and modification time), so it need not be opened again.
    bool isSameFile(const std::string& path) const;

    std::string_view versionCode() const;
    std::uint32_t verseCount() const { return header_.verseCount; }
    std::uint32_t bookCount() const { return header_.bookCount; }
    std::uint32_t tokenCount() const { return header_.tokenCount; }

    std::string_view bookCode(std::uint32_t book) const;
    // First verse id of a book; bookStart(bookCount()) is verseCount().
    std::uint32_t bookStart(std::uint32_t book) const;
    Verse verse(std::uint32_t id) const;
    std::span<const std::uint32_t> verseWords(std::uint32_t id) const;

    std::string_view key(std::uint32_t token) const;
    std::span<const std::uint32_t> postings(std::uint32_t token) const;
    // The first token whose key is not less than `key` (tokenCount() when none).
    std::uint32_t lowerBound(std::string_view key) const;
    // The token of exactly this key, or tokenCount().
    std::uint32_t find(std::string_view key) const;

private:
    bool recordsAreSound() const;
    std::string_view section(wordindex::Section s) const;
    std::span<const std::uint32_t> words(wordindex::Section s) const;
    wordindex::TokenRecord token(std::uint32_t id) const;

    const char* data_ = nullptr;
    std::size_t size_ = 0;
    bool mapped_ = false;
    std::string path_;
    struct Identity {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Identity&) const = default;
    } identity_;
    static bool identify(const std::string& path, Identity& id);
    std::vector<std::uint64_t> buffer_; // where memory mapping is not available
    wordindex::Header header_{};
};

} // namespace qel
