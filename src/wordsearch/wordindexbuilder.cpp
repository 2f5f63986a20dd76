#include "wordsearch/wordindexbuilder.h"

#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/editions.h"
#include "language/wordtext.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "wordsearch/wordindex.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

namespace qel {
namespace {

struct Row {
    std::uint32_t book;
    long long chapter;
    long long sequence;
    std::string chap, sec, body;
};

long long number(std::string_view text) {
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

template <class T> void append(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void appendWords(std::string& out, const std::vector<std::uint32_t>& words) {
    out.append(reinterpret_cast<const char*>(words.data()), words.size() * 4);
}

std::uint32_t checkedSize(std::size_t n) {
    if (n > UINT32_MAX)
        throw std::runtime_error("word index too large");
    return static_cast<std::uint32_t>(n);
}

} // namespace

std::string_view wordSearchVersion(int index) {
    const Edition* edition = editionAt(&Edition::wordIndex, index);
    return edition ? std::string_view(edition->code) : std::string_view();
}

bool buildWordIndex(Database& content, std::string_view versionCode, const std::string& outFile,
                    WordIndexStats* stats) {
    const std::string table = versionTable(versionCode);
    if (table.empty())
        throw std::runtime_error("unknown version " + std::string(versionCode));
    if (!content.hasTable(table))
        return false;

    // Books in the order of the version's table, then any book the table lacks.
    std::vector<std::string> books;
    std::unordered_map<std::string, std::uint32_t> bookIndex;
    for (const BookRow& row : bookTableOf(table)) {
        bookIndex.emplace(row.code, static_cast<std::uint32_t>(books.size()));
        books.push_back(row.code);
    }
    std::vector<Row> rows;
    for (RecordSet rs(content, "select volcode, chap, sec, body, sequence from " + table);
         !rs.isEOF(); rs.moveNext()) {
        const std::string book = rs.field("volcode");
        auto [it, added] = bookIndex.emplace(book, static_cast<std::uint32_t>(books.size()));
        if (added)
            books.push_back(book);
        Row row{it->second,      0, number(rs.field("sequence")), rs.field("chap"), rs.field("sec"),
                rs.field("body")};
        row.chapter = number(row.chap);
        rows.push_back(std::move(row));
    }
    if (rows.empty())
        return false;
    if (books.size() >= 0xFFFF)
        throw std::runtime_error("too many books in " + table);
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.book != b.book)
            return a.book < b.book;
        if (a.chapter != b.chapter)
            return a.chapter < b.chapter;
        return a.sequence < b.sequence;
    });

    using namespace wordindex;
    std::vector<VerseRecord> verses(rows.size());
    std::vector<std::uint32_t> bookStarts(books.size() + 1, 0);
    std::string texts, labels;
    std::vector<std::uint32_t> words; // provisional ids until the vocabulary is sorted
    std::unordered_map<std::string, std::uint32_t> ids;
    std::vector<std::string_view> keyOf;
    std::vector<std::vector<std::uint32_t>> postings;
    ids.reserve(1 << 15);

    for (std::uint32_t v = 0; v < rows.size(); ++v) {
        const Row& row = rows[v];
        ++bookStarts[row.book + 1];
        const std::string text = wordtext::plainVerseText(row.body);
        VerseRecord& r = verses[v];
        r.text = checkedSize(texts.size());
        r.textLength = checkedSize(text.size());
        texts += text;
        texts.push_back('\0');
        const std::string label = row.chap + ":" + row.sec;
        r.label = checkedSize(labels.size());
        r.labelLength = static_cast<std::uint16_t>(std::min<std::size_t>(label.size(), 0xFFFF));
        labels.append(label, 0, r.labelLength);
        r.book = static_cast<std::uint16_t>(row.book);
        r.firstWord = checkedSize(words.size());
        wordtext::forEachWord(cp949ToUtf8(text), [&](std::string_view key) {
            auto [it, added] =
                ids.try_emplace(std::string(key), static_cast<std::uint32_t>(keyOf.size()));
            if (added) {
                keyOf.push_back(it->first);
                postings.emplace_back();
            }
            words.push_back(it->second);
            auto& list = postings[it->second];
            if (list.empty() || list.back() != v)
                list.push_back(v);
        });
        r.wordCount = checkedSize(words.size() - r.firstWord);
    }
    std::partial_sum(bookStarts.begin(), bookStarts.end(), bookStarts.begin());

    // Sorted vocabulary: provisional id → final id.
    std::vector<std::uint32_t> order(keyOf.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return keyOf[a] < keyOf[b]; });
    std::vector<std::uint32_t> finalId(order.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        finalId[order[i]] = i;
    for (std::uint32_t& w : words)
        w = finalId[w];
    std::vector<TokenRecord> vocabulary(order.size());
    std::string keys;
    std::vector<std::uint32_t> allPostings;
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        const std::string_view key = keyOf[order[i]];
        const auto& list = postings[order[i]];
        vocabulary[i] = {checkedSize(keys.size()), checkedSize(key.size()),
                         checkedSize(allPostings.size()), checkedSize(list.size())};
        keys += key;
        allPostings.insert(allPostings.end(), list.begin(), list.end());
    }

    // Sections, each 8-byte aligned after the header.
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof header.magic);
    header.verseCount = checkedSize(verses.size());
    header.bookCount = checkedSize(books.size());
    header.tokenCount = checkedSize(vocabulary.size());
    std::memcpy(header.version, table.data(), std::min(table.size(), sizeof header.version - 1));
    std::string file(sizeof header, '\0');
    auto beginSection = [&](Section s) {
        file.resize((file.size() + 7) / 8 * 8, '\0');
        header.sections[s].offset = checkedSize(file.size());
    };
    auto endSection = [&](Section s) {
        header.sections[s].size = checkedSize(file.size() - header.sections[s].offset);
    };
    beginSection(kBooks);
    for (const std::string& code : books) {
        char field[kBookCodeSize] = {};
        std::memcpy(field, code.data(), std::min(code.size(), kBookCodeSize - 1));
        file.append(field, kBookCodeSize);
    }
    endSection(kBooks);
    beginSection(kBookStarts);
    appendWords(file, bookStarts);
    endSection(kBookStarts);
    beginSection(kVerses);
    for (const VerseRecord& r : verses)
        append(file, r);
    endSection(kVerses);
    beginSection(kTexts);
    file += texts;
    endSection(kTexts);
    beginSection(kLabels);
    file += labels;
    endSection(kLabels);
    beginSection(kWords);
    appendWords(file, words);
    endSection(kWords);
    beginSection(kVocabulary);
    for (const TokenRecord& r : vocabulary)
        append(file, r);
    endSection(kVocabulary);
    beginSection(kKeys);
    file += keys;
    endSection(kKeys);
    beginSection(kPostings);
    appendWords(file, allPostings);
    endSection(kPostings);
    header.fileSize = checkedSize(file.size());
    std::memcpy(file.data(), &header, sizeof header);

    const std::string partial = outFile + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + partial);
    }
    std::filesystem::rename(partial, outFile);
    if (stats)
        *stats = {verses.size(), words.size(), vocabulary.size(), file.size()};
    return true;
}

std::vector<std::string> buildWordIndexes(Database& content, const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::vector<std::string> written;
    for (const Edition* edition : editionsBy(&Edition::wordIndex)) {
        const std::string path =
            (std::filesystem::path(folder) / (std::to_string(edition->wordIndex) + ".m14"))
                .string();
        if (buildWordIndex(content, edition->code, path))
            written.push_back(path);
        else
            std::filesystem::remove(path);
    }
    return written;
}

} // namespace qel
