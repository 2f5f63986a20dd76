#include "../support/topictablecheck.h"
#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "reference/articleload.h"
#include "reference/articletrees.h"

#include <gtest/gtest.h>

#include <regex>

using namespace qel;

TEST(ArticleTrees, BookGuidesHaveTheGroupsEveryBookAndNumberedSections) {
    const TopicTable& tree = bookGuideTree();
    expectWellFormed(tree, 258, 4);
    std::vector<std::string> books;
    std::string book;
    int lastSection = 0;
    for (int i = 0; i < entryCount(tree); ++i) {
        const TopicEntry& entry = tree[i];
        SCOPED_TRACE(entry.key);
        if (entry.key.starts_with("GRE")) {
            EXPECT_EQ(entry.level, 2) << "an introduction to a group of books";
        } else if (entry.key.size() == 3) {
            books.push_back(entry.key);
            book = entry.key;
            lastSection = 0;
        } else if (!entry.key.empty()) {
            // A section belongs to the book entry it is inserted under and counts on.
            ASSERT_TRUE(std::regex_match(entry.key, std::regex(".{3}[0-9]{3}")));
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

// Every id of every tree opens an article of the built content, under its own heading.
TEST(ArticleContent, EveryTreeIdHasABody) {
    expectWellFormed(unitTree(), 8, 0);
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
