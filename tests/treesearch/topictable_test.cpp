#include "treesearch/topictable.h"

#include "../support/topictablecheck.h"

#include "compare/passagetable.h"
#include "platform/codec.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(TopicTable, BookGuideImagesTellBooksFromSections) {
    const TopicEntry group{0, "1", "Law"};
    EXPECT_EQ(itemImage(panelmode::BookGuide, group, true, true), 1);
    EXPECT_EQ(itemImage(panelmode::BookGuide, group, true, false), 0);
    // Leaves: a section (fourth character "0") shows a page, anything else a book.
    EXPECT_EQ(itemImage(panelmode::BookGuide, {2, "gen012", "s"}, false, false), 2);
    EXPECT_EQ(itemImage(panelmode::BookGuide, {2, "gen112", "s"}, false, false), 1);
    EXPECT_EQ(itemImage(panelmode::BookGuide, {1, "gen", "Genesis"}, false, false), 1);
    EXPECT_EQ(itemImage(panelmode::BookGuide, {1, "12", "x"}, false, false), 1);
    // Other modes: every leaf is a page.
    EXPECT_EQ(itemImage(panelmode::Gospels, {1, "gen112", "s"}, false, false), 2);
    EXPECT_EQ(itemImage(6, {1, "ab", "s"}, false, true), 2);
    EXPECT_EQ(itemImage(6, {1, "ab", "s"}, true, true), 1);
}

TEST(TopicTable, ExpansionRulesPerMode) {
    const TopicEntry section{2, "gen012", "s"};
    const TopicEntry book{1, "gen", "b"};
    EXPECT_FALSE(expandsParent(panelmode::BookGuide, section));
    EXPECT_TRUE(expandsParent(panelmode::BookGuide, book));
    EXPECT_TRUE(expandsParent(6, {1, "PHI000000001", "p"}));
    EXPECT_FALSE(expandsParent(6, {2, "PHI000000001", "p"}));
    EXPECT_TRUE(expandsParent(panelmode::Map, {1, "f4", "m"}));
    EXPECT_FALSE(expandsParent(panelmode::Gospels, book));
}

TEST(TopicTable, TitleLookupTakesTheKeyWithOrWithoutItsFirstCharacter) {
    const TopicTable t = topicTable(
        {{0, "", "Heading"}, {1, "ca0001", "First"}, {1, "ca0002", "Second"}, {1, "x2", "Last"}});
    EXPECT_EQ(lookupTitle(4, t, "ca0002"), "Second");
    EXPECT_EQ(lookupTitle(4, t, "a0002"), "Second");
    EXPECT_EQ(lookupTitle(4, t, "2"), "Last");
    EXPECT_EQ(lookupTitle(4, t, "ca0003"), std::nullopt);
    // A heading has no key to find it by.
    EXPECT_EQ(lookupTitle(4, t, ""), std::nullopt);
    // Mode 9 reads any language letter as Korean.
    const TopicTable topics = topicTable({{0, "SK0100000001", "Korean"}});
    EXPECT_EQ(lookupTitle(panelmode::Topics, topics, "SE0100000001"), "Korean");
    EXPECT_EQ(lookupTitle(4, topics, "SE0100000001"), std::nullopt);
    // The comparison windows look their passages up by references.
    EXPECT_EQ(cp949ToUtf8(*lookupTitle(panelmode::Gospels, fourGospelTable(),
                                       "mat26:17-25 mrk14:12-21 luk22:7-14,21-23 jhn13:21-30")),
              "제자들과 함께 유월절을 지키시다");
}

TEST(TopicTable, SearchFindsTitledEntriesByteForByte) {
    const TopicTable t = topicTable({{0, "", "유월절 절기"},
                                     {1, "a", "유월절을 지키다"},
                                     {1, "b", "성전을 깨끗하게 하시다"},
                                     {1, "c", "다시 유월절"}});
    EXPECT_EQ(entryCount(t), 4); // the end row does not count
    EXPECT_EQ(searchTitles(t, utf8ToCp949("유월절")), (std::vector<int>{1, 3}));
    EXPECT_EQ(searchTitles(t, utf8ToCp949("성전")), (std::vector<int>{2}));
    EXPECT_TRUE(searchTitles(t, utf8ToCp949("바다")).empty());
    EXPECT_TRUE(searchTitles(t, "").empty());
    // Initial letters (HangulInitials has their rules): ㅇㅇㅈ is 유월절, ㅅㅈ 성전; a heading
    // is still never a hit.
    EXPECT_EQ(searchTitles(t, utf8ToCp949("ㅇㅇㅈ")), (std::vector<int>{1, 3}));
    EXPECT_EQ(searchTitles(t, utf8ToCp949("ㅅㅈㅇ ㄲ")), (std::vector<int>{2}));
}
