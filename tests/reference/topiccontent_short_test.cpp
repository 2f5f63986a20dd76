#include "../support/topicsource.h"
#include "../support/topictablecheck.h"
#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/versekey.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "reference/topictrees.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

using namespace qel;

namespace {

// Rows of a topic source, each with the given number of fields after its key and every
// character one the program's code page keeps.
TopicSourceRows readSource(const std::string& name, std::size_t fields) {
    TopicSourceRows rows = readTopicSource(name);
    for (const auto& [key, parts] : rows) {
        EXPECT_EQ(parts.size() + 1, fields) << name << ": " << key;
        for (const std::string& part : parts)
            EXPECT_EQ(cp949ToUtf8(utf8ToCp949(part)), part) << name << ": " << key;
    }
    return rows;
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The verses of one chapter of the KJV, read once.
class KjvVerses {
public:
    explicit KjvVerses(Database& db) : db_(db) {}
    bool has(const std::string& book, int chapter, int verse) {
        auto [it, added] = chapters_.try_emplace({book, chapter});
        if (added)
            for (const std::string& label : versesOf(db_, "KJV", book, std::to_string(chapter)))
                it->second.insert(std::stoi(label));
        return it->second.contains(verse);
    }

private:
    Database& db_;
    std::map<std::pair<std::string, int>, std::set<int>> chapters_;
};

} // namespace

TEST(TopicContentShort, ShortTreeGroupsTopicsByAreaCode) {
    const TopicTable& tree = shortTopicTree();
    expectWellFormed(tree, 692, 3);
    int area = 0;
    int topics = 0;
    std::set<int> levels;
    for (int i = 0; i < entryCount(tree); ++i) {
        const TopicEntry& entry = tree[i];
        SCOPED_TRACE(entry.key);
        levels.insert(entry.level);
        if (entry.level == 0)
            ++area;
        // Areas and their groups are headings; a topic opens in Korean first.
        if (entry.level < 2) {
            EXPECT_TRUE(entry.key.empty());
            continue;
        }
        if (entry.key.empty())
            continue;
        ++topics;
        ASSERT_EQ(entry.key.size(), 12u);
        EXPECT_EQ(entry.key.substr(0, 2), "SK");
        EXPECT_TRUE(allDigits(entry.key.substr(2)));
        EXPECT_EQ(std::stoi(entry.key.substr(2, 2)), area) << "the area it sits under";
    }
    EXPECT_EQ(levels, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(area, 23);
    EXPECT_EQ(topics, 563);
    EXPECT_EQ(cp949ToUtf8(tree[0].title), "하나님");
    EXPECT_EQ(*lookupTitle(panelmode::Topics, tree, "SE0101010000"), utf8ToCp949("창조주 하나님"));
}

TEST(TopicContentShort, EveryTopicHasItsRowsAndOnlyKoreanOnlyAreasLackEnglish) {
    const TopicTable& tree = shortTopicTree();
    auto rows = readSource("SHORT.txt", 3);
    std::set<std::string> koreanOnlyAreas;
    for (int i = 0; i < entryCount(tree); ++i) {
        const std::string& key = tree[i].key;
        if (key.empty())
            continue;
        SCOPED_TRACE(key);
        const auto korean = rows.find(key);
        ASSERT_TRUE(korean != rows.end()) << "no row";
        EXPECT_EQ(utf8ToCp949(korean->second[0]), tree[i].title);
        // The switch opens the English form only where the area has one.
        const LanguageKey english = languageKey(key, false);
        const std::string englishKey = "SE" + key.substr(2);
        if (english.bilingual) {
            const auto row = rows.find(englishKey);
            ASSERT_TRUE(row != rows.end()) << "no English row";
            EXPECT_FALSE(row->second[0].empty());
            EXPECT_EQ(row->second[1], korean->second[1]) << "the same verses";
            rows.erase(row);
        } else {
            EXPECT_FALSE(rows.contains(englishKey)) << "an English row";
            koreanOnlyAreas.insert(key.substr(2, 2));
        }
        rows.erase(korean);
    }
    EXPECT_EQ(koreanOnlyAreas.size(), 7u) << "each Korean-only code has its area";
    for (const auto& [key, fields] : rows)
        ADD_FAILURE() << key << " is in no tree";
}

TEST(TopicContentShort, ReferencesNameThreeToEightSpansOfKjvVerses) {
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    KjvVerses kjv(db);
    std::set<std::string> books;
    for (const BookRow& book : bookTableOf("KJV"))
        books.insert(book.code);
    // book, chapter:verse, and an end verse or end chapter:verse
    const std::regex span(R"(([0-9a-z]{3})(\d+):(\d+)(?:-(?:(\d+):)?(\d+))?)");
    for (const auto& [key, fields] : readSource("SHORT.txt", 3)) {
        SCOPED_TRACE(key);
        std::istringstream words(fields[1]);
        int count = 0;
        for (std::string word; words >> word; ++count) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(word, m, span)) << word;
            const std::string book = m[1];
            EXPECT_TRUE(books.contains(book)) << word;
            const int chapter = std::stoi(m[2]);
            const int verse = std::stoi(m[3]);
            const int endChapter = m[4].matched ? std::stoi(m[4]) : chapter;
            const int endVerse = m[5].matched ? std::stoi(m[5]) : verse;
            EXPECT_TRUE(kjv.has(book, chapter, verse)) << word;
            EXPECT_TRUE(kjv.has(book, endChapter, endVerse)) << word;
            EXPECT_LT(std::pair(chapter, verse), std::pair(endChapter, endVerse + 1)) << word;
        }
        EXPECT_GE(count, 3);
        EXPECT_LE(count, 8);
    }
}

TEST(TopicContentShort, AboutTreeKeysAreNumberedPages) {
    const TopicTable& tree = aboutTree();
    expectWellFormed(tree, 42, 2);
    std::set<int> levels;
    for (int i = 0; i < entryCount(tree); ++i) {
        const TopicEntry& entry = tree[i];
        SCOPED_TRACE(i);
        levels.insert(entry.level);
        // Sections are headings; every page below them has a key.
        if (entry.level == 0) {
            EXPECT_TRUE(entry.key.empty());
            continue;
        }
        ASSERT_EQ(entry.key.size(), 6u);
        EXPECT_EQ(entry.key.substr(0, 2), "ad");
        EXPECT_TRUE(allDigits(entry.key.substr(2)));
    }
    EXPECT_EQ(levels, (std::set<int>{0, 1, 2}));
}

TEST(TopicContentShort, EveryAboutPageHasABodyWhoseLinksOpen) {
    const TopicTable& tree = aboutTree();
    auto rows = readSource("ABOUT.txt", 2);
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    const std::regex link(R"(\{A TAR=([^}]*)\})");
    int links = 0;
    for (int i = 0; i < entryCount(tree); ++i) {
        const std::string& key = tree[i].key;
        if (key.empty())
            continue;
        SCOPED_TRACE(key);
        const auto row = rows.find(key);
        ASSERT_TRUE(row != rows.end()) << "no page";
        const std::string& body = row->second[0];
        // The page opens with its own heading, the entry's title.
        EXPECT_TRUE(body.starts_with("{H}" + cp949ToUtf8(tree[i].title) + "{/H}"));
        for (std::sregex_iterator it(body.begin(), body.end(), link), end; it != end; ++it) {
            ++links;
            const std::string target = (*it)[1];
            const std::optional<CommandKey> command = parseCommandKey(target);
            ASSERT_TRUE(command) << target;
            if (command->letter != 'B')
                continue;
            // A verse link names a verse the edition really has.
            ASSERT_TRUE(isCommandVerseKey(target)) << target;
            const std::string place = target.substr(4);
            const auto verses = versesOf(db, command->version, place.substr(0, 3),
                                         std::to_string(std::stoi(place.substr(3, 3))));
            const std::string verse = std::to_string(std::stoi(place.substr(6, 3)));
            EXPECT_TRUE(std::find(verses.begin(), verses.end(), verse) != verses.end()) << target;
        }
        rows.erase(row);
    }
    EXPECT_GE(links, 10);
    for (const auto& [key, fields] : rows)
        ADD_FAILURE() << key << " is in no tree";
}
