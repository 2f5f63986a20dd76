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

struct Row {
    int index, level;
    const char* key;
    const char* title;
};

void expectRows(const TopicTable& table, std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        const TopicEntry& entry = table.at(row.index);
        EXPECT_EQ(entry.level, row.level);
        EXPECT_EQ(entry.key, row.key);
        EXPECT_EQ(cp949ToUtf8(entry.title), row.title);
    }
}

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
    EXPECT_EQ(titlesAtLevel(tree, 1), (std::vector<std::string>{"역사서", "교훈서와 시편", "예언서",
                                                                "역사서", "서신서", "예언서"}));
    expectRows(tree, {{0, 0, "", "구약"},
                      {1, 1, "", "역사서"},
                      {2, 2, "GREmos", "모세 오경 안내"},
                      {3, 3, "gen", "창세기"},
                      {4, 4, "gen001", "창조와 원역사(1-11장)"},
                      {5, 4, "gen002", "아브라함 이야기(12-25장)"},
                      {257, 4, "rev007", "어린양의 혼인 잔치와 새 창조(19-22장)"}});
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
    expectRows(tree, {{0, 0, "0", "길이 단위"},
                      {1, 0, "1", "신약 성경의 거리 단위"},
                      {2, 0, "2", "구약 성경의 액체 측량 단위"},
                      {3, 0, "3", "구약 성경의 마른 곡물 측량 단위"},
                      {4, 0, "4", "신약 성경의 부피 단위"},
                      {5, 0, "5", "무게 단위"},
                      {6, 0, "6", "구약 성경의 화폐 단위"},
                      {7, 0, "7", "신약 성경의 화폐 단위"}});
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
    expectRows(tree, {{0, 0, "0", "가나안(사람)"}, {656, 0, "656", "힌놈의 아들"}});
}

TEST(ArticleTrees, TextualNotesAreAllThenBooksInOrder) {
    const TopicTable& tree = criticismTree();
    expectWellFormed(tree, 43, 0);
    expectRows(tree, {{0, 0, "all", "본문 비평 주 소개"},
                      {1, 0, "gen", "창세기"},
                      {2, 0, "exo", "출애굽기"},
                      {42, 0, "1jn", "요한일서"}});
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
