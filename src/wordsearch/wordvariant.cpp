#include "wordsearch/wordvariant.h"

#include "bible/booktable.h"
#include "platform/codec.h"
#include "wordsearch/wordindex.h"
#include "wordsearch/wordquery.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>

namespace {

struct Library {
    std::mutex mutex;
    qel::WordIndex index;
    bool open = false; // between WordVariantOpen and WordVariantClose
};

Library& library() {
    static Library instance;
    return instance;
}

constexpr std::size_t kReferenceLimit = 99;

// "VVVbbb" + abbreviation + " " + "chap:verse", cut to the limit on a character boundary.
char* makeReference(std::string_view version, std::string_view book, std::string_view abbr,
                    std::string_view label) {
    std::string ref;
    ref.reserve(32);
    for (std::size_t i = 0; i < 3; ++i)
        ref.push_back(i < version.size() ? version[i] : ' ');
    for (std::size_t i = 0; i < 3; ++i)
        ref.push_back(i < book.size() ? book[i] : ' ');
    ref += abbr.empty() ? book : abbr;
    ref += ' ';
    ref += label;
    if (ref.size() > kReferenceLimit)
        ref.resize(qel::wholeCharacterPrefix(ref, kReferenceLimit));
    char* out = static_cast<char*>(std::malloc(ref.size() + 1));
    if (out)
        std::memcpy(out, ref.c_str(), ref.size() + 1);
    return out;
}

// One allocation holds the block, its entries and the verse texts; each reference text is
// its own allocation.
WordVariantBlock* makeBlock(const qel::WordIndex& index, const std::vector<std::uint32_t>& ids) {
    const std::size_t n = std::min<std::size_t>(ids.size(), INT32_MAX);
    std::size_t textBytes = 0;
    for (std::size_t k = 0; k < n; ++k)
        textBytes += index.verse(ids[k]).text.size() + 1;
    const std::size_t entriesAt = (sizeof(WordVariantBlock) + alignof(WordVariantEntry) - 1) /
                                  alignof(WordVariantEntry) * alignof(WordVariantEntry);
    const std::size_t textsAt = entriesAt + n * sizeof(WordVariantEntry);
    char* memory = static_cast<char*>(std::malloc(textsAt + textBytes));
    if (!memory)
        return nullptr;
    auto* block = reinterpret_cast<WordVariantBlock*>(memory);
    block->count = 0;
    block->entries = reinterpret_cast<WordVariantEntry*>(memory + entriesAt);
    char* text = memory + textsAt;

    const std::string_view version = index.versionCode();
    const auto& bookTable = qel::bookTableOf(version);
    std::vector<std::string_view> abbreviations(index.bookCount());
    for (std::uint32_t b = 0; b < index.bookCount(); ++b)
        for (const qel::BookRow& row : bookTable)
            if (row.code == index.bookCode(b)) {
                abbreviations[b] = row.abbreviation;
                break;
            }

    for (std::size_t k = 0; k < n; ++k) {
        const qel::WordIndex::Verse v = index.verse(ids[k]);
        const std::string_view abbr =
            v.book < abbreviations.size() ? abbreviations[v.book] : std::string_view();
        char* reference = makeReference(version, index.bookCode(v.book), abbr, v.label);
        if (!reference) {
            WordVariantFree(block);
            return nullptr;
        }
        if (!v.text.empty()) // a damaged record may have no text
            std::memcpy(text, v.text.data(), v.text.size());
        text[v.text.size()] = '\0';
        block->entries[k] = {reference, text};
        block->count = static_cast<int32_t>(k + 1);
        text += v.text.size() + 1;
    }
    return block;
}

} // namespace

extern "C" {

WordVariantBlock* WordVariantSearch(const char* query, const char* range) {
    if (!query || !range)
        return nullptr;
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    if (!lib.open)
        return nullptr;
    try {
        const std::vector<std::uint32_t> ids =
            qel::findVerses(lib.index, qel::parseWordQuery(query), range);
        return ids.empty() ? nullptr : makeBlock(lib.index, ids);
    } catch (...) {
        // Nothing may cross the C boundary; out of memory means no result.
        return nullptr;
    }
}

int WordVariantOpen(const char* indexPath) {
    if (!indexPath)
        return 0;
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    try {
        // The dialog opens and closes the index around every search: a file that has not
        // changed since it was last mapped is not mapped again.
        lib.open = lib.index.isSameFile(indexPath) || lib.index.open(indexPath);
    } catch (...) {
        lib.open = false;
    }
    return lib.open ? 1 : 0;
}

void WordVariantClose(void) {
    Library& lib = library();
    std::lock_guard lock(lib.mutex);
    // Searching ends here; the mapping stays for the next opening of the same file.
    lib.open = false;
}

void WordVariantFree(WordVariantBlock* block) {
    if (!block)
        return;
    for (int32_t k = 0; k < block->count; ++k)
        std::free(block->entries[k].reference);
    std::free(block);
}

} // extern "C"
