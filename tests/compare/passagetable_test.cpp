#include "compare/passagegather.h"
#include "compare/passagetable.h"
#include "platform/codec.h"
#include "platform/database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

using namespace qel;

namespace {

// The book codes of an entry in the order its references name them.
std::vector<std::string> booksOf(const ComparisonKind& kind, const PassageEntry& entry) {
    std::vector<std::string> books;
    for (const VerseSpan& span : kind.read(entry.key))
        if (books.empty() || books.back() != span.book)
            books.push_back(span.book);
    return books;
}

// Each book reference is a code and its spans; the reader must find every one.
std::size_t spansWritten(const std::string& key) {
    std::size_t count = 0;
    std::size_t begin = 0;
    while (begin < key.size()) {
        const std::size_t end = std::min(key.find(' ', begin), key.size());
        count += 1 + std::count(key.begin() + begin, key.begin() + end, ',');
        begin = end + 1;
    }
    return count;
}

void expectWellFormed(const std::vector<PassageEntry>& table, const ComparisonKind& kind,
                      std::size_t maxBooks) {
    ASSERT_EQ(table.back().level, -1);
    EXPECT_TRUE(table.back().key.empty());
    EXPECT_EQ(table.front().level, 0);
    for (std::size_t i = 0; i + 1 < table.size(); ++i) {
        SCOPED_TRACE(i);
        const PassageEntry& entry = table[i];
        EXPECT_FALSE(entry.title.empty());
        if (i > 0) {
            EXPECT_LE(entry.level, table[i - 1].level + 1) << "a child needs a parent";
        }
        if (entry.key.empty())
            continue;
        const std::vector<VerseSpan> spans = kind.read(entry.key);
        EXPECT_EQ(spans.size(), spansWritten(entry.key)) << entry.key;
        for (const VerseSpan& span : spans) {
            EXPECT_NE(std::find(kind.paneBooks.begin(), kind.paneBooks.end(), span.book),
                      kind.paneBooks.end())
                << entry.key;
            EXPECT_GT(span.chapter, 0);
            EXPECT_GT(span.lastVerse, 0);
            if (span.range) {
                EXPECT_LT(std::pair(span.chapter, span.firstVerse),
                          std::pair(span.endChapter, span.lastVerse))
                    << entry.key;
            }
        }
        const std::vector<std::string> books = booksOf(kind, entry);
        EXPECT_LE(books.size(), maxBooks) << entry.key;
        EXPECT_EQ(std::set<std::string>(books.begin(), books.end()).size(), books.size())
            << "a book returns after another in " << entry.key;
    }
}

// Every verse an entry starts or ends with is a verse of the KJV text.
void expectVersesExist(const std::vector<PassageEntry>& table, const ComparisonKind& kind) {
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    std::set<std::string> verses;
    for (RecordSet rs(db, "select volcode, chap, sec from KJV"); !rs.isEOF(); rs.moveNext())
        verses.insert(rs.field("volcode") + rs.field("chap") + ":" + rs.field("sec"));
    for (const PassageEntry& entry : table)
        for (const VerseSpan& span : kind.read(entry.key)) {
            const std::string last =
                span.book + std::to_string(span.endChapter) + ":" + std::to_string(span.lastVerse);
            EXPECT_TRUE(verses.count(last)) << entry.key << " ends at " << last;
            if (span.range) {
                const std::string first = span.book + std::to_string(span.chapter) + ":" +
                                          std::to_string(span.firstVerse);
                EXPECT_TRUE(verses.count(first)) << entry.key << " starts at " << first;
            }
        }
}

} // namespace

TEST(FourGospelTable, HeadingsCarryNoPassageAndSubheadingsHoldTheirPassages) {
    const auto& table = fourGospelTable();
    // Headings carry no passage; a subheading without one holds the passages below it.
    for (std::size_t i = 0; i + 1 < table.size(); ++i) {
        const PassageEntry& entry = table[i];
        if (entry.level == 0) {
            EXPECT_TRUE(entry.key.empty()) << cp949ToUtf8(entry.title);
        }
        if (entry.level == 1 && entry.key.empty()) {
            EXPECT_EQ(table[i + 1].level, 2) << cp949ToUtf8(entry.title);
        }
        if (entry.level == 2) {
            EXPECT_FALSE(entry.key.empty());
        }
    }
}

TEST(HistoryBooksTable, TopEntriesAfterTheFirstHeadGroupsOfPassages) {
    const auto& table = historyBooksTable();
    // The first entry is a passage of its own; the other top entries head groups, and
    // every row under them carries a passage.
    EXPECT_FALSE(table[0].key.empty());
    for (std::size_t i = 1; i < table.size(); ++i)
        if (table[i].level >= 0) {
            EXPECT_EQ(table[i].key.empty(), table[i].level == 0) << cp949ToUtf8(table[i].title);
        }
}

TEST(ComparisonTables, EveryReferenceReadsAndNamesRealVerses) {
    expectWellFormed(fourGospelTable(), fourGospelComparison(), 4);
    expectVersesExist(fourGospelTable(), fourGospelComparison());
    expectWellFormed(historyBooksTable(), historyBooksComparison(), 2);
    expectVersesExist(historyBooksTable(), historyBooksComparison());
}

TEST(HistoryBooksTable, PairsSamuelAndKingsOnlyWithChronicles) {
    const std::set<std::string> chronicles = {"1ch", "2ch"};
    for (const PassageEntry& entry : historyBooksTable()) {
        const std::vector<std::string> books = booksOf(historyBooksComparison(), entry);
        if (books.size() == 2) {
            EXPECT_EQ(chronicles.count(books[0]) + chronicles.count(books[1]), 1u) << entry.key;
        }
    }
}
