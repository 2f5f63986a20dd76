// The word-variant library through its C calls, over a small built index, and the built KJV
// index against a plain scan of the built content database.
#include "wordsearch/wordvariant.h"

#include "platform/codec.h"
#include "platform/database.h"
#include "wordindexfixture.h"
#include "wordsearch/wordindex.h"

#include "../support/builtdata.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

using namespace qel;

namespace {

class WordVariant : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fixture = new WordIndexFixture; }
    static void TearDownTestSuite() {
        delete fixture;
        fixture = nullptr;
    }
    void TearDown() override { WordVariantClose(); }

    // The references (from byte 6, UTF-8) of a search, or {"null"} when no block came back.
    static std::vector<std::string> search(int version, const std::string& query,
                                           const std::string& range = "all") {
        if (!WordVariantOpen(fixture->indexPath(version).c_str()))
            return {"not opened"};
        WordVariantBlock* block =
            WordVariantSearch(utf8ToCp949(query).c_str(), utf8ToCp949(range).c_str());
        WordVariantClose();
        if (!block)
            return {"null"};
        std::vector<std::string> refs;
        for (int k = 0; k < block->count; ++k)
            refs.push_back(cp949ToUtf8(block->entries[k].reference + 6));
        WordVariantFree(block);
        return refs;
    }

    static WordIndexFixture* fixture;
};
WordIndexFixture* WordVariant::fixture = nullptr;

using Refs = std::vector<std::string>;

} // namespace

TEST_F(WordVariant, IndexesAreBuiltForVersionsWithText) {
    EXPECT_EQ(fixture->written,
              (Refs{fixture->indexPath(0), fixture->indexPath(1), fixture->indexPath(4)}));
    EXPECT_FALSE(std::filesystem::exists(fixture->indexPath(5))); // NIV: a table, no text
    EXPECT_EQ(WordVariantOpen(fixture->indexPath(5).c_str()), 0);
    EXPECT_EQ(WordVariantOpen(nullptr), 0);
    // Searching with nothing open, or after closing, finds nothing.
    EXPECT_EQ(WordVariantSearch("love&~", "all"), nullptr);
    ASSERT_NE(WordVariantOpen(fixture->indexPath(4).c_str()), 0);
    WordVariantClose();
    WordVariantClose(); // a second close is harmless
    EXPECT_EQ(WordVariantSearch("love&~", "all"), nullptr);
}

TEST_F(WordVariant, BlockHoldsReferencesAndPlainTextInReadingOrder) {
    ASSERT_NE(WordVariantOpen(fixture->indexPath(4).c_str()), 0);
    WordVariantBlock* block = WordVariantSearch("love&~", "all");
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(block->count, 4);
    const char* expected[][2] = {
        {"KJVproPr 8:17", "I love them that love me;"},
        {"KJVmatMt 5:44", "But I say unto you, Love your enemies,"},
        {"KJVjhnJn 14:15", "If ye love me, keep my commandments."},
        {"KJV1jn1 Jn 4:8", "He that loveth not knoweth not God; for God is love."}};
    for (int k = 0; k < block->count; ++k) {
        EXPECT_STREQ(block->entries[k].reference, expected[k][0]);
        EXPECT_STREQ(block->entries[k].text, expected[k][1]);
    }
    // The texts outlive the index.
    WordVariantClose();
    EXPECT_STREQ(block->entries[3].text, expected[3][1]);
    WordVariantFree(block);
    WordVariantFree(nullptr);
}

TEST_F(WordVariant, WholeWordsOnlyAndNeverFootnotes) {
    // lovely, gloves and be{F}loved{/F} are other words; the footnote's "love" is not text.
    EXPECT_EQ(search(4, "loved&~"), (Refs{"Jn 3:16"}));
    EXPECT_EQ(search(4, "beloved&~"), (Refs{"Sgs 1:1"}));
    EXPECT_EQ(search(4, "heb&~"), (Refs{"null"}));
    EXPECT_EQ(search(4, "LORD&~"), (Refs{"Ps 3:1"})); // the Psalm title is its own line
    EXPECT_EQ(search(4, "\"David LORD\"&~"), (Refs{"Ps 3:1"}));
    EXPECT_EQ(search(4, "lov&~"), (Refs{"null"}));
}

TEST_F(WordVariant, AndOrAndPhrase) {
    EXPECT_EQ(search(4, "faith&hope&~"), (Refs{"Ro 5:2", "1 Co 13:13"}));
    EXPECT_EQ(search(4, "faith&charity&~"), (Refs{"1 Co 13:13"}));
    EXPECT_EQ(search(4, "charity#light#~"), (Refs{"Gn 1:3", "1 Co 13:13"}));
    EXPECT_EQ(search(4, "faith&nothing&~"), (Refs{"null"}));
    EXPECT_EQ(search(4, "\"in the beginning\"&~"), (Refs{"Gn 1:1"}));
    EXPECT_EQ(search(4, "\"the beginning in\"&~"), (Refs{"null"}));
    EXPECT_EQ(search(4, "\"love me\"&~"), (Refs{"Pr 8:17", "Jn 14:15"}));
    EXPECT_EQ(search(4, "\"Love me\"&~"), search(4, "\"love me\"&~"));
}

TEST_F(WordVariant, Ranges) {
    EXPECT_EQ(search(4, "love&~", "old"), (Refs{"Pr 8:17"}));
    EXPECT_EQ(search(4, "love&~", "new"), (Refs{"Mt 5:44", "Jn 14:15", "1 Jn 4:8"}));
    EXPECT_EQ(search(4, "love&~", "jhn"), (Refs{"Jn 14:15"}));
    EXPECT_EQ(search(4, "love&~", "gen"), (Refs{"null"}));
    EXPECT_EQ(search(4, "love&~", "xyz"), (Refs{"null"}));
    EXPECT_EQ(search(4, "love&~", ""), (Refs{"null"}));
    // The deuterocanon stands with the Old Testament, as in the book table.
    EXPECT_EQ(search(1, "이것은&~", "old"), (Refs{"토비 1:1"}));
    EXPECT_EQ(search(1, "이것은&~", "new"), (Refs{"null"}));
}

TEST_F(WordVariant, KoreanBasicIsTheWordAsWrittenAndAllFormsInflect) {
    // "기본": the word ending at a blank, as the grid highlights it; "모두": every particle.
    EXPECT_EQ(search(0, "하나님&~"), (Refs{"null"})); // nothing found
    EXPECT_EQ(search(0, "하나님*&~"), (Refs{"창 1:1", "창 1:2", "요 3:16"}));
    // 하나님께서 is one word although a tag stands inside it.
    EXPECT_EQ(search(0, "하나님께서&~"), (Refs{"창 1:1", "요 3:16"}));
    EXPECT_EQ(search(0, "사랑&~"), (Refs{"고전 13:13"}));
    EXPECT_EQ(search(0, "사랑이라&~"), (Refs{"고전 13:13"}));
    EXPECT_EQ(search(0, "믿음*&소망*&~"), (Refs{"고전 13:13"}));
    EXPECT_EQ(search(0, "믿음#소망#~"), (Refs{"고전 13:13"}));
    EXPECT_EQ(search(0, "믿음*#소망*#~"), (Refs{"롬 5:2", "고전 13:13"}));
    EXPECT_EQ(search(0, "\"하나님의 영은\"&~"), (Refs{"창 1:2"}));
    EXPECT_EQ(search(0, "하나님*&~", "new"), (Refs{"요 3:16"}));
    // A verb in its dictionary form finds its endings.
    EXPECT_EQ(search(0, "사랑하다*&~"), (Refs{"요 3:16"}));
    EXPECT_EQ(search(0, "믿다*&~"), (Refs{"요 3:16", "롬 5:2", "고전 13:13"}));
    EXPECT_EQ(search(0, "없다*&~"), (Refs{"시 23:1"}));
    EXPECT_EQ(search(1, "사랑하다*#~"), (Refs{"요한 3:16"}));
}

TEST_F(WordVariant, SearchesFromManyThreadsStayConsistent) {
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    const std::string path = fixture->indexPath(4);
    ASSERT_NE(WordVariantOpen(path.c_str()), 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                WordVariantBlock* block = WordVariantSearch("love*&~", "all");
                // Another thread may have closed the index: then nothing, never half.
                if (block && (block->count != 6 ||
                              std::strncmp(block->entries[5].reference, "KJV1jn1 Jn 4:8", 14) != 0))
                    ++wrong;
                WordVariantFree(block);
            }
        });
    std::thread reopen([&] {
        while (!stop) {
            WordVariantClose();
            WordVariantOpen(path.c_str());
        }
    });
    for (std::thread& t : threads)
        t.join();
    stop = true;
    reopen.join();
    EXPECT_EQ(wrong, 0);
}

TEST_F(WordVariant, DamagedIndexFilesAreRefusedOrHarmless) {
    std::ifstream in(fixture->indexPath(4), std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), {});
    const std::string damaged = fixture->dir.str() + "/damaged.m14";
    auto write = [&](const std::string& bytes) {
        std::ofstream(damaged, std::ios::binary | std::ios::trunc) << bytes;
    };
    // Cut, garbage, empty, and damage inside the records, which the header does not show:
    // the file is refused.
    wordindex::Header header;
    std::memcpy(&header, good.data(), sizeof header);
    auto at = [&](wordindex::Section s, std::size_t offset) {
        return header.sections[s].offset + offset;
    };
    auto put32 = [](std::string& bytes, std::size_t pos, std::uint32_t value) {
        std::memcpy(bytes.data() + pos, &value, 4);
    };
    using V = wordindex::VerseRecord;
    using T = wordindex::TokenRecord;
    const std::size_t lastVerse = (header.verseCount - 1) * sizeof(V);
    const struct {
        const char* what;
        std::function<void(std::string&)> damage;
    } cases[] = {
        {"cut short", [](std::string& b) { b.pop_back(); }},
        {"garbage", [](std::string& b) { b.assign(4096, 'Q'); }},
        {"empty", [](std::string& b) { b.clear(); }},
        {"label outside its section",
         [&](std::string& b) { put32(b, at(wordindex::kVerses, offsetof(V, label)), 1u << 30); }},
        {"label that is no chapter and verse",
         [&](std::string& b) { b[at(wordindex::kLabels, 0)] = 'x'; }},
        {"chapter 0", [&](std::string& b) { b[at(wordindex::kLabels, 0)] = '0'; }},
        {"text outside its section",
         [&](std::string& b) {
             put32(b, at(wordindex::kVerses, lastVerse + offsetof(V, textLength)), 1u << 30);
         }},
        {"verse of another book",
         [&](std::string& b) { b[at(wordindex::kVerses, offsetof(V, book))] = 1; }},
        {"words outside their section",
         [&](std::string& b) {
             put32(b, at(wordindex::kVerses, offsetof(V, firstWord)), UINT32_MAX);
         }},
        {"word id past the vocabulary",
         [&](std::string& b) { put32(b, at(wordindex::kWords, 0), header.tokenCount); }},
        {"verse id past the verses",
         [&](std::string& b) { put32(b, at(wordindex::kPostings, 4), header.verseCount); }},
        {"postings outside their section",
         [&](std::string& b) {
             put32(b, at(wordindex::kVocabulary, offsetof(T, postingCount)), 1u << 30);
         }},
        {"keys out of order",
         [&](std::string& b) {
             std::swap_ranges(b.begin() + at(wordindex::kVocabulary, 0),
                              b.begin() + at(wordindex::kVocabulary, sizeof(T)),
                              b.begin() + at(wordindex::kVocabulary, sizeof(T)));
         }},
        {"books that start backwards",
         [&](std::string& b) { put32(b, at(wordindex::kBookStarts, 4), header.verseCount + 1); }},
    };
    for (const auto& c : cases) {
        std::string bytes = good;
        c.damage(bytes);
        write(bytes);
        EXPECT_EQ(WordVariantOpen(damaged.c_str()), 0) << c.what;
    }

    // Bytes changed anywhere: refused, or every hit is a verse of a book with its place.
    for (std::size_t seed = 1; seed < 40; ++seed) {
        std::string bytes = good;
        for (std::size_t i = sizeof(wordindex::Header) + seed * 7; i < bytes.size(); i += 13 + seed)
            bytes[i] = static_cast<char>(bytes[i] ^ (0x5A + seed));
        write(bytes);
        if (!WordVariantOpen(damaged.c_str()))
            continue;
        for (const char* q : {"love*&~", "faith#hope#~", "\"in the beginning\"&~"}) {
            WordVariantBlock* block = WordVariantSearch(q, "new");
            for (int k = 0; block && k < block->count; ++k) {
                const std::string ref = block->entries[k].reference;
                EXPECT_EQ(ref.find(" 0:"), std::string::npos) << ref;
                EXPECT_NE(ref.find(':'), std::string::npos) << ref;
            }
            WordVariantFree(block);
        }
        WordVariantClose();
    }
}

namespace {

std::string builtIndex(int version) {
    return builtDataFolder("M14") + "/" + std::to_string(version) + ".m14";
}

// What grep -iw finds: the word with no letter, digit or "_" on either side, any case. The
// KJV has no letters outside ASCII; its other characters (’ in love’s, ¶) are punctuation.
bool containsWord(const std::string& text, const std::string& lowerWord) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    auto isWordByte = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    };
    for (std::size_t at = lower.find(lowerWord); at != std::string::npos;
         at = lower.find(lowerWord, at + 1)) {
        const std::size_t end = at + lowerWord.size();
        if ((at == 0 || !isWordByte(lower[at - 1])) &&
            (end == lower.size() || !isWordByte(lower[end])))
            return true;
    }
    return false;
}

// Markup dropped the simple way: footnote markers with their notes, then every tag.
std::string stripMarkup(const std::string& body) {
    std::string out;
    for (std::size_t i = 0; i < body.size();) {
        if (body.compare(i, 2, "{N") == 0) {
            const std::size_t close = body.find("{/N}", i);
            i = close == std::string::npos ? body.size() : close + 4;
            out += ' ';
        } else if (body[i] == '{') {
            const std::size_t close = body.find('}', i);
            i = close == std::string::npos ? body.size() : close + 1;
            out += ' ';
        } else {
            out += body[i++];
        }
    }
    return out;
}

// The KJV verses as "book chap:verse" and plain UTF-8 text (where, unlike CP949, no byte of
// a non-ASCII character looks like a letter).
const std::vector<std::pair<std::string, std::string>>& kjvVerses() {
    static const auto verses = [] {
        std::vector<std::pair<std::string, std::string>> out;
        Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
        for (RecordSet rs(db, "select volcode, chap, sec, body from KJV"); !rs.isEOF();
             rs.moveNext())
            out.emplace_back(rs.field("volcode") + " " + rs.field("chap") + ":" + rs.field("sec"),
                             stripMarkup(cp949ToUtf8(rs.field("body"))));
        return out;
    }();
    return verses;
}

// Verses that hold any of the words.
std::set<std::string> scan(const std::vector<std::string>& words) {
    std::set<std::string> found;
    for (const auto& [key, text] : kjvVerses())
        for (const std::string& w : words)
            if (containsWord(text, w)) {
                found.insert(key);
                break;
            }
    return found;
}

std::set<std::string> kjvSearch(const char* query) {
    std::set<std::string> found;
    EXPECT_NE(WordVariantOpen(builtIndex(4).c_str()), 0);
    WordVariantBlock* block = WordVariantSearch(query, "all");
    WordVariantClose();
    for (int k = 0; block && k < block->count; ++k) {
        // "KJVjhnJn 3:16": book code at 3, "chap:verse" after the last blank.
        const std::string ref = block->entries[k].reference;
        found.insert(ref.substr(3, 3) + " " + ref.substr(ref.rfind(' ') + 1));
    }
    WordVariantFree(block);
    return found;
}

} // namespace

TEST(BuiltWordIndex, EveryVersionWithTextHasAnIndex) {
    for (int version : {0, 1, 2, 3, 4})
        EXPECT_TRUE(std::filesystem::exists(builtIndex(version))) << version;
    for (int version : {5, 6}) // NIV and GNB carry no text
        EXPECT_FALSE(std::filesystem::exists(builtIndex(version))) << version;
}

TEST(BuiltWordIndex, KjvLoveIsWhatGrepFinds) {
    const std::set<std::string> expected = scan({"love"});
    EXPECT_GT(expected.size(), 250u);
    EXPECT_EQ(kjvSearch("love&~"), expected);
    EXPECT_EQ(kjvSearch("LOVE&~"), expected);
}

TEST(BuiltWordIndex, KjvLoveInAllFormsIsEveryInflection) {
    EXPECT_EQ(kjvSearch("love*&~"),
              scan({"love", "loves", "loved", "loving", "lovest", "loveth", "lovedst"}));
}
