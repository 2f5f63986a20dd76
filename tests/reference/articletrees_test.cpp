#include "../support/topictablecheck.h"
#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "reference/articleload.h"
#include "reference/articletrees.h"

#include <gtest/gtest.h>

#include <set>

using namespace qel;

namespace {

std::vector<std::string> titlesAtLevel(const TopicTable& table, int level) {
    std::vector<std::string> titles;
    for (int i = 0; i < entryCount(table); ++i)
        if (table[i].level == level && table[i].key.empty())
            titles.push_back(cp949ToUtf8(table[i].title));
    return titles;
}

bool isSectionKey(const std::string& key) {
    return key.size() == 6 && std::isdigit(static_cast<unsigned char>(key[3])) &&
           std::isdigit(static_cast<unsigned char>(key[4])) &&
           std::isdigit(static_cast<unsigned char>(key[5]));
}

} // namespace

TEST(ArticleTrees, BookGuidesHaveTheGroupsEveryBookAndNumberedSections) {
    const TopicTable& tree = bookGuideTree();
    expectWellFormed(tree, 258, 4);
    EXPECT_EQ(titlesAtLevel(tree, 0), (std::vector<std::string>{"구약", "신약"}));
    std::vector<std::string> books;
    std::set<std::string> introductions;
    std::string book;
    int lastSection = 0;
    for (int i = 0; i < entryCount(tree); ++i) {
        const TopicEntry& entry = tree[i];
        SCOPED_TRACE(entry.key);
        if (entry.key.starts_with("GRE")) {
            introductions.insert(cp949ToUtf8(entry.title));
            EXPECT_EQ(entry.level, 2);
        } else if (entry.key.size() == 3) {
            books.push_back(entry.key);
            book = entry.key;
            lastSection = 0;
        } else if (!entry.key.empty()) {
            // A section belongs to the book entry it is inserted under and counts on.
            ASSERT_TRUE(isSectionKey(entry.key));
            EXPECT_EQ(entry.key.substr(0, 3), book);
            EXPECT_EQ(std::stoi(entry.key.substr(3)), ++lastSection);
            EXPECT_EQ(tree[i - lastSection].key, book);
            EXPECT_EQ(tree[i - lastSection].level, entry.level - 1);
            EXPECT_EQ(entry.key[3], '0') << "the tree folds only sections";
        }
    }
    std::vector<std::string> standard;
    for (const BookRow& row : bookTableOf("VRA"))
        standard.push_back(row.code);
    EXPECT_EQ(books, standard);
    for (const char* title : {"모세 오경 안내", "신명기 역사서 안내", "역대기 안내", "예언서 안내"})
        EXPECT_TRUE(introductions.contains(title)) << title;
}

TEST(ArticleTrees, UnitsAreEightFixedEntries) {
    const TopicTable& tree = unitTree();
    expectWellFormed(tree, 8, 0);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(tree[i].key, std::to_string(i));
}

TEST(ArticleTrees, TermsRunInDictionaryOrderWithTheirRowAsId) {
    const TopicTable& tree = termTree();
    expectWellFormed(tree, 657, 0);
    for (int i = 0; i < entryCount(tree); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tree[i].key, std::to_string(i));
        // Hangul syllables are in dictionary order in UTF-8 byte order.
        if (i > 0) {
            EXPECT_LT(cp949ToUtf8(tree[i - 1].title), cp949ToUtf8(tree[i].title));
        }
    }
}

TEST(ArticleTrees, TextualNotesAreAllThenBooksInOrder) {
    const TopicTable& tree = criticismTree();
    expectWellFormed(tree, 43, 0);
    EXPECT_EQ(tree[0].key, "all");
    const std::vector<BookRow>& books = bookTableOf("VRA");
    std::size_t at = 0;
    for (int i = 1; i < entryCount(tree); ++i) {
        while (at < books.size() && books[at].code != tree[i].key)
            ++at;
        EXPECT_LT(at, books.size()) << tree[i].key << " is a book, in book order";
    }
}

TEST(ArticleTrees, KindsPickTheirTrees) {
    EXPECT_EQ(articleTree(articlekind::Book), &bookGuideTree());
    EXPECT_EQ(articleTree(articlekind::Units), &unitTree());
    EXPECT_EQ(articleTree(articlekind::Term), &termTree());
    EXPECT_EQ(articleTree(articlekind::Criticism), &criticismTree());
    EXPECT_EQ(articleTree(articlekind::Count), nullptr);
}

// Every id of every tree opens an article of the built content, under its own heading.
TEST(ArticleContent, EveryTreeIdHasABody) {
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    for (int kind = 0; kind < articlekind::Count; ++kind) {
        const TopicTable& tree = *articleTree(kind);
        const std::string table = articleKindInfo(kind).table;
        for (int i = 0; i < entryCount(tree); ++i) {
            if (tree[i].key.empty())
                continue;
            SCOPED_TRACE(table + " " + tree[i].key);
            RecordSet rs(db, sql::article(table, tree[i].key));
            ASSERT_FALSE(rs.isEOF()) << "no article";
            EXPECT_TRUE(rs.field("body").starts_with("{H}"));
        }
    }
}
