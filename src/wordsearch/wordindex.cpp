#include "wordsearch/wordindex.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>

#if defined(__unix__) || defined(__APPLE__)
#define QEL_HAVE_MMAP 1
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qel {

static_assert(std::endian::native == std::endian::little, "the index is little-endian");
static_assert(sizeof(wordindex::Header) == 32 + 8 * wordindex::kSectionCount);
static_assert(sizeof(wordindex::VerseRecord) == 24);
static_assert(sizeof(wordindex::TokenRecord) == 16);

namespace {

// The text of a zero-padded fixed field.
std::string_view fixedField(const char* p, std::size_t size) {
    return std::string_view(p, static_cast<std::size_t>(std::find(p, p + size, '\0') - p));
}

template <class T> T load(const char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// "chapter:verse" or "chapter:first-last" (verses joined in one record), the chapter from 1.
bool isVerseLabel(std::string_view label) {
    auto isNumber = [](std::string_view s) {
        return !s.empty() && s.size() <= 4 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    const std::size_t colon = label.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view chapter = label.substr(0, colon);
    std::string_view verse = label.substr(colon + 1);
    if (const std::size_t dash = verse.find('-'); dash != std::string_view::npos) {
        if (!isNumber(verse.substr(dash + 1)))
            return false;
        verse = verse.substr(0, dash);
    }
    return isNumber(chapter) && isNumber(verse) &&
           chapter.find_first_not_of('0') != std::string_view::npos;
}

} // namespace

bool WordIndex::identify(const std::string& path, Identity& id) {
#ifdef QEL_HAVE_MMAP
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::uint64_t>(st.st_size);
    id.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
#else
    std::error_code ec;
    id.size = std::filesystem::file_size(path, ec);
    if (ec)
        return false;
    id.modifiedNs = std::filesystem::last_write_time(path, ec).time_since_epoch().count();
    return !ec;
#endif
}

bool WordIndex::isSameFile(const std::string& path) const {
    Identity now;
    return data_ && path == path_ && identify(path, now) && now == identity_;
}

bool WordIndex::open(const std::string& path) {
    close();
    if (!identify(path, identity_))
        return false;
#ifdef QEL_HAVE_MMAP
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(sizeof(wordindex::Header)) ||
        static_cast<std::uint64_t>(st.st_size) > UINT32_MAX) {
        ::close(fd);
        return false;
    }
    void* p = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED)
        return false;
    data_ = static_cast<const char*>(p);
    size_ = static_cast<std::size_t>(st.st_size);
    mapped_ = true;
#else
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const std::streamoff size = in.tellg();
    if (size < static_cast<std::streamoff>(sizeof(wordindex::Header)) || size > UINT32_MAX)
        return false;
    buffer_.assign((static_cast<std::size_t>(size) + 7) / 8, 0);
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(buffer_.data()), size))
        return false;
    data_ = reinterpret_cast<const char*>(buffer_.data());
    size_ = static_cast<std::size_t>(size);
#endif

    header_ = load<wordindex::Header>(data_);
    bool ok = std::memcmp(header_.magic, wordindex::kMagic, sizeof header_.magic) == 0 &&
              header_.fileSize == size_ && header_.bookCount < 0xFFFF;
    for (std::uint32_t s = 0; ok && s < wordindex::kSectionCount; ++s) {
        const wordindex::SectionRef ref = header_.sections[s];
        ok = ref.offset % 8 == 0 && ref.offset >= sizeof(wordindex::Header) &&
             ref.offset <= size_ && ref.size <= size_ - ref.offset;
    }
    using namespace wordindex;
    ok =
        ok && header_.sections[kBooks].size == std::uint64_t{header_.bookCount} * kBookCodeSize &&
        header_.sections[kBookStarts].size == (std::uint64_t{header_.bookCount} + 1) * 4 &&
        header_.sections[kVerses].size == std::uint64_t{header_.verseCount} * sizeof(VerseRecord) &&
        header_.sections[kVocabulary].size ==
            std::uint64_t{header_.tokenCount} * sizeof(TokenRecord) &&
        header_.sections[kWords].size % 4 == 0 && header_.sections[kPostings].size % 4 == 0;
    if (!ok || !recordsAreSound()) {
        close();
        return false;
    }
    path_ = path;
    return true;
}

// One pass over the records when the file is opened (a few milliseconds, once per file): a
// damaged record would otherwise come back as a verse of chapter 0 or text from nowhere.
bool WordIndex::recordsAreSound() const {
    using namespace wordindex;
    const auto starts = words(kBookStarts);
    if (starts.empty() || starts.front() != 0 || starts.back() != header_.verseCount ||
        !std::is_sorted(starts.begin(), starts.end()))
        return false;
    const std::string_view texts = section(kTexts), labels = section(kLabels);
    const std::size_t wordTotal = words(kWords).size();
    std::uint32_t book = 0;
    for (std::uint32_t id = 0; id < header_.verseCount; ++id) {
        const auto r =
            load<VerseRecord>(section(kVerses).data() + std::size_t{id} * sizeof(VerseRecord));
        while (book < header_.bookCount && starts[book + 1] <= id)
            ++book;
        if (r.book != book || r.text > texts.size() || r.textLength > texts.size() - r.text ||
            r.label > labels.size() || r.labelLength > labels.size() - r.label ||
            r.firstWord > wordTotal || r.wordCount > wordTotal - r.firstWord ||
            !isVerseLabel(labels.substr(r.label, r.labelLength)))
            return false;
    }
    for (const std::uint32_t w : words(kWords))
        if (w >= header_.tokenCount)
            return false;
    const std::string_view keys = section(kKeys);
    const std::size_t postingTotal = words(kPostings).size();
    std::string_view previous;
    for (std::uint32_t t = 0; t < header_.tokenCount; ++t) {
        const TokenRecord r = token(t);
        if (r.key > keys.size() || r.keyLength > keys.size() - r.key ||
            r.firstPosting > postingTotal || r.postingCount > postingTotal - r.firstPosting)
            return false;
        // Lookups halve the vocabulary: it has to be in order.
        const std::string_view k = keys.substr(r.key, r.keyLength);
        if (t > 0 && !(previous < k))
            return false;
        previous = k;
    }
    for (const std::uint32_t v : words(kPostings))
        if (v >= header_.verseCount)
            return false;
    return true;
}

void WordIndex::close() {
#ifdef QEL_HAVE_MMAP
    if (mapped_ && data_)
        ::munmap(const_cast<char*>(data_), size_);
#endif
    data_ = nullptr;
    size_ = 0;
    mapped_ = false;
    buffer_.clear();
    buffer_.shrink_to_fit();
    header_ = {};
    path_.clear();
    identity_ = {};
}

std::string_view WordIndex::section(wordindex::Section s) const {
    if (!data_)
        return {};
    const wordindex::SectionRef ref = header_.sections[s];
    return std::string_view(data_ + ref.offset, ref.size);
}

std::span<const std::uint32_t> WordIndex::words(wordindex::Section s) const {
    const std::string_view bytes = section(s);
    // Sections start 8-byte aligned in a page-aligned mapping or an 8-byte aligned buffer.
    return {reinterpret_cast<const std::uint32_t*>(bytes.data()), bytes.size() / 4};
}

std::string_view WordIndex::versionCode() const {
    if (!data_)
        return {};
    return fixedField(header_.version, sizeof header_.version);
}

std::string_view WordIndex::bookCode(std::uint32_t book) const {
    const std::string_view books = section(wordindex::kBooks);
    if (book >= header_.bookCount)
        return {};
    const char* p = books.data() + std::size_t{book} * wordindex::kBookCodeSize;
    return fixedField(p, wordindex::kBookCodeSize);
}

std::uint32_t WordIndex::bookStart(std::uint32_t book) const {
    const auto starts = words(wordindex::kBookStarts);
    if (book >= starts.size())
        return header_.verseCount;
    return std::min(starts[book], header_.verseCount);
}

WordIndex::Verse WordIndex::verse(std::uint32_t id) const {
    Verse v;
    if (id >= header_.verseCount)
        return v;
    const auto r = load<wordindex::VerseRecord>(section(wordindex::kVerses).data() +
                                                std::size_t{id} * sizeof(wordindex::VerseRecord));
    v.book = r.book;
    const std::string_view texts = section(wordindex::kTexts);
    if (r.text <= texts.size() && r.textLength <= texts.size() - r.text)
        v.text = texts.substr(r.text, r.textLength);
    const std::string_view labels = section(wordindex::kLabels);
    if (r.label <= labels.size() && r.labelLength <= labels.size() - r.label)
        v.label = labels.substr(r.label, r.labelLength);
    return v;
}

std::span<const std::uint32_t> WordIndex::verseWords(std::uint32_t id) const {
    if (id >= header_.verseCount)
        return {};
    const auto r = load<wordindex::VerseRecord>(section(wordindex::kVerses).data() +
                                                std::size_t{id} * sizeof(wordindex::VerseRecord));
    const auto all = words(wordindex::kWords);
    if (r.firstWord > all.size() || r.wordCount > all.size() - r.firstWord)
        return {};
    return all.subspan(r.firstWord, r.wordCount);
}

wordindex::TokenRecord WordIndex::token(std::uint32_t id) const {
    return load<wordindex::TokenRecord>(section(wordindex::kVocabulary).data() +
                                        std::size_t{id} * sizeof(wordindex::TokenRecord));
}

std::string_view WordIndex::key(std::uint32_t id) const {
    if (id >= header_.tokenCount)
        return {};
    const auto r = token(id);
    const std::string_view keys = section(wordindex::kKeys);
    if (r.key > keys.size() || r.keyLength > keys.size() - r.key)
        return {};
    return keys.substr(r.key, r.keyLength);
}

std::span<const std::uint32_t> WordIndex::postings(std::uint32_t id) const {
    if (id >= header_.tokenCount)
        return {};
    const auto r = token(id);
    const auto all = words(wordindex::kPostings);
    if (r.firstPosting > all.size() || r.postingCount > all.size() - r.firstPosting)
        return {};
    return all.subspan(r.firstPosting, r.postingCount);
}

std::uint32_t WordIndex::lowerBound(std::string_view wanted) const {
    std::uint32_t lo = 0, hi = header_.tokenCount;
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        if (key(mid) < wanted)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

std::uint32_t WordIndex::find(std::string_view wanted) const {
    const std::uint32_t at = lowerBound(wanted);
    return at < header_.tokenCount && key(at) == wanted ? at : header_.tokenCount;
}

} // namespace qel
