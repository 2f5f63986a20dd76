#include "../support/topicsource.h"
#include "../support/topictablecheck.h"
#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/versekey.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "reference/mapframe.h"
#include "reference/topictrees.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace qel;

namespace {

// Every key of the tree that has a record (all, without `hasRecord`) has exactly one, and
// every record belongs to such a key; keys take their form by the pattern.
void expectKeysMatchRows(const TopicTable& tree, const TopicSourceRows& rows,
                         const std::regex& form,
                         const std::function<bool(const std::string&)>& hasRecord = {}) {
    std::set<std::string> recorded;
    for (int i = 0; i < entryCount(tree); ++i) {
        const std::string& key = tree[i].key;
        if (key.empty())
            continue;
        EXPECT_TRUE(std::regex_match(key, form)) << key;
        if (!hasRecord || hasRecord(key)) {
            recorded.insert(key);
            EXPECT_TRUE(rows.contains(key)) << "no record for " << key;
        }
    }
    for (const auto& [key, fields] : rows)
        EXPECT_TRUE(recorded.contains(key)) << "record without a tree key: " << key;
}

// Bodies open with their caption and carry only verse links that name a real book.
void expectBodies(const TopicSourceRows& rows, std::size_t bodyField, bool captioned) {
    static const std::regex link(R"(\{A TAR=([^}]*)\})");
    for (const auto& [key, fields] : rows) {
        SCOPED_TRACE(key);
        ASSERT_GT(fields.size(), bodyField);
        const std::string& body = fields[bodyField];
        if (captioned) {
            EXPECT_EQ(body.rfind("{H}", 0), 0u);
            EXPECT_NE(body.find("{/H}{B}{I VAL=4}"), std::string::npos);
        }
        for (std::sregex_iterator it(body.begin(), body.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1];
            ASSERT_TRUE(isCommandVerseKey(target)) << target;
            const auto verse = parseFullVerseKey(target.substr(1));
            ASSERT_TRUE(verse);
            EXPECT_EQ(verse->version, "VRA");
            EXPECT_FALSE(bookNameOf(verse->book, "VRA").empty()) << target;
            EXPECT_FALSE(verse->chapter.empty() || verse->verse.empty()) << target;
        }
    }
}

const TopicEntry& firstKeyed(const TopicTable& tree) {
    int i = 0;
    while (i < entryCount(tree) && tree[i].key.empty())
        ++i;
    return tree.at(i);
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

TEST(TopicContent, CameTreeHasAnArticleForEveryKey) {
    const TopicTable& tree = cameTree();
    expectWellFormed(tree, 55, 2);
    EXPECT_EQ(firstKeyed(tree).key, "ca0001");
    const TopicSourceRows rows = readTopicSource("CAME.txt");
    expectKeysMatchRows(tree, rows, std::regex("ca[0-9]{4}"));
    expectBodies(rows, 0, true);
    // Articles run to at least two paragraphs.
    for (const auto& [key, fields] : rows)
        EXPECT_NE(fields.at(0).find("{B}", fields.at(0).find("{B}") + 1), std::string::npos) << key;
}

TEST(TopicContent, ChronologyRowsPlaceEveryEntryOnATrack) {
    const TopicTable& tree = chronologyTree();
    expectWellFormed(tree, 133, 1);
    const TopicSourceRows rows = readTopicSource("HIS.txt");
    expectKeysMatchRows(tree, rows, std::regex("[1-9][0-9]*"));
    expectBodies(rows, 5, false);
    int previousFrom = -5000;
    for (int i = 0; i < entryCount(tree); ++i) {
        const TopicEntry& entry = tree[i];
        SCOPED_TRACE(entry.key);
        // Every entry has a key, numbered in the order of the tree.
        ASSERT_EQ(entry.key, std::to_string(i + 1));
        // Tracks, years and their order the builder checks as it reads the rows.
        const std::vector<std::string>& f = rows.at(entry.key);
        EXPECT_EQ(entry.level == 0, f.at(0) == "era"); // the periods head the tree
        const int from = std::stoi(f.at(1));
        EXPECT_EQ(utf8ToCp949(f.at(4)), entry.title);
        if (entry.level == 0) {
            EXPECT_GE(from, previousFrom); // the periods follow each other
            previousFrom = from;
        }
    }
}

TEST(TopicContent, PhotoTreeHoldsTheDiagramsAndACaptionForEveryKey) {
    const TopicTable& tree = photoTree();
    expectWellFormed(tree, 225, 2);
    const TopicSourceRows rows = readTopicSource("PHOTO.txt");
    expectKeysMatchRows(tree, rows, std::regex("PHI[0-9]{9}"));
    expectBodies(rows, 0, true);
}

TEST(TopicContent, MapTreeOpensTheFourMapsAndDescribesThePeriods) {
    const TopicTable& tree = mapTree();
    expectWellFormed(tree, 22, 1);
    const TopicSourceRows rows = readTopicSource("MAP.txt");
    const auto isTopic = [](const std::string& key) { return key[0] == 'm'; };
    expectKeysMatchRows(tree, rows, std::regex("f[1-4]|m[a-z0-9]{12}"), isTopic);
    expectBodies(rows, 0, true);
    // The four maps, named as their legends name them, and topics beside them.
    int maps = 0, topics = 0;
    for (int i = 0; i < entryCount(tree); ++i) {
        if (tree[i].key.starts_with("f")) {
            ++maps;
            EXPECT_STREQ(cp949ToUtf8(tree[i].title).c_str(), mapNameUtf8(tree[i].key[1] - '0'));
        }
        topics += !tree[i].key.empty() && isTopic(tree[i].key);
    }
    EXPECT_EQ(maps, 4);
    EXPECT_GT(topics, 0);
}

TEST(TopicContent, ShortTopicsSitUnderTheirAreaWithARowForEveryLanguageItHas) {
    const TopicTable& tree = shortTopicTree();
    expectWellFormed(tree, 692, 3);
    TopicSourceRows rows = readTopicSource("SHORT.txt");
    const std::regex form("SK[0-9]{10}");
    std::set<std::string> koreanOnlyAreas;
    int area = 0;
    for (int i = 0; i < entryCount(tree); ++i) {
        const std::string& key = tree[i].key;
        SCOPED_TRACE(key);
        area += tree[i].level == 0;
        // Areas and their groups are headings; a topic opens in Korean first.
        if (tree[i].level < 2) {
            EXPECT_TRUE(key.empty());
        }
        if (key.empty())
            continue;
        ASSERT_TRUE(std::regex_match(key, form));
        EXPECT_EQ(std::stoi(key.substr(2, 2)), area) << "the area it sits under";
        const auto korean = rows.find(key);
        ASSERT_TRUE(korean != rows.end()) << "no row";
        ASSERT_EQ(korean->second.size(), 2u);
        EXPECT_EQ(utf8ToCp949(korean->second[0]), tree[i].title);
        // The switch opens the English form only where the area has one.
        const auto english = rows.find("SE" + key.substr(2));
        if (languageKey(key, false).bilingual) {
            ASSERT_TRUE(english != rows.end()) << "no English row";
            EXPECT_FALSE(english->second.at(0).empty());
            EXPECT_EQ(english->second.at(1), korean->second[1]) << "the same verses";
            rows.erase(english);
        } else {
            EXPECT_TRUE(english == rows.end()) << "an English row";
            koreanOnlyAreas.insert(key.substr(2, 2));
        }
        rows.erase(korean);
    }
    EXPECT_EQ(area, 23);
    EXPECT_EQ(koreanOnlyAreas.size(), 7u) << "each Korean-only code has its area";
    for (const auto& [key, fields] : rows)
        ADD_FAILURE() << key << " is in no tree";
}

TEST(TopicContent, ShortReferencesNameThreeToEightSpansOfKjvVerses) {
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    KjvVerses kjv(db);
    std::set<std::string> books;
    for (const BookRow& book : bookTableOf("KJV"))
        books.insert(book.code);
    // book, chapter:verse, and an end verse or end chapter:verse
    const std::regex span(R"(([0-9a-z]{3})(\d+):(\d+)(?:-(?:(\d+):)?(\d+))?)");
    for (const auto& [key, fields] : readTopicSource("SHORT.txt")) {
        SCOPED_TRACE(key);
        std::istringstream words(fields.at(1));
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

TEST(TopicContent, EveryAboutPageOpensUnderItsTitleAndItsVerseLinksOpen) {
    const TopicTable& tree = aboutTree();
    expectWellFormed(tree, 42, 2);
    const TopicSourceRows rows = readTopicSource("ABOUT.txt");
    expectKeysMatchRows(tree, rows, std::regex("ad[0-9]{4}"));
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    const std::regex link(R"(\{A TAR=([^}]*)\})");
    int links = 0;
    for (int i = 0; i < entryCount(tree); ++i) {
        const std::string& key = tree[i].key;
        SCOPED_TRACE(i);
        // Sections are headings; every page below them has a key.
        EXPECT_EQ(key.empty(), tree[i].level == 0);
        if (key.empty() || !rows.contains(key))
            continue;
        const std::string& body = rows.at(key).at(0);
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
    }
    EXPECT_GE(links, 10);
}
