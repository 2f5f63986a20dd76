#include "../support/topicsource.h"
#include "../support/topictablecheck.h"
#include "bible/booktable.h"
#include "bible/versekey.h"
#include "platform/codec.h"
#include "reference/topictrees.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

using namespace qel;

namespace {

// Every key of the tree that has a record has exactly one, and every record belongs to
// such a key; keys take their form by the pattern.
void expectKeysMatchRows(const TopicTable& tree, const TopicSourceRows& rows,
                         const std::regex& form,
                         const std::function<bool(const std::string&)>& hasRecord) {
    std::set<std::string> recorded;
    for (int i = 0; i < entryCount(tree); ++i) {
        const std::string& key = tree[i].key;
        if (key.empty())
            continue;
        EXPECT_TRUE(std::regex_match(key, form)) << key;
        if (hasRecord(key)) {
            recorded.insert(key);
            EXPECT_TRUE(rows.contains(key)) << "no record for " << key;
        }
    }
    for (const auto& [key, fields] : rows)
        EXPECT_TRUE(recorded.contains(key)) << "record without a tree key: " << key;
}

bool always(const std::string&) {
    return true;
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

} // namespace

TEST(TopicContent, CameTreeHasAnArticleForEveryKey) {
    const TopicTable& tree = cameTree();
    expectWellFormed(tree, 55, 2);
    EXPECT_EQ(firstKeyed(tree).key, "ca0001");
    const TopicSourceRows rows = readTopicSource("CAME.txt");
    expectKeysMatchRows(tree, rows, std::regex("ca[0-9]{4}"), always);
    expectBodies(rows, 0, true);
    // Articles run to at least two paragraphs.
    for (const auto& [key, fields] : rows)
        EXPECT_NE(fields.at(0).find("{B}", fields.at(0).find("{B}") + 1), std::string::npos) << key;
}

TEST(TopicContent, ChronologyRowsPlaceEveryEntryOnATrack) {
    const TopicTable& tree = chronologyTree();
    expectWellFormed(tree, 133, 1);
    const TopicSourceRows rows = readTopicSource("HIS.txt");
    expectKeysMatchRows(tree, rows, std::regex("[1-9][0-9]*"), always);
    expectBodies(rows, 5, false);
    const std::set<std::string> tracks = {"era",    "israel", "judah", "prophet",
                                          "nation", "event",  "church"};
    int previousFrom = -5000;
    for (int i = 0; i < entryCount(tree); ++i) {
        const TopicEntry& entry = tree[i];
        SCOPED_TRACE(entry.key);
        // Every entry has a key, numbered in the order of the tree.
        ASSERT_EQ(entry.key, std::to_string(i + 1));
        const std::vector<std::string>& f = rows.at(entry.key);
        ASSERT_EQ(f.size(), 6u);
        EXPECT_TRUE(tracks.contains(f[0])) << f[0];
        EXPECT_EQ(entry.level == 0, f[0] == "era"); // the periods head the tree
        const int from = std::stoi(f[1]);
        const int to = std::stoi(f[2]);
        EXPECT_EQ(std::to_string(from), f[1]);
        EXPECT_EQ(std::to_string(to), f[2]);
        EXPECT_NE(from, 0); // there is no year 0
        EXPECT_NE(to, 0);
        EXPECT_LE(from, to);
        EXPECT_TRUE(f[3] == "0" || f[3] == "1") << f[3];
        EXPECT_EQ(utf8ToCp949(f[4]), entry.title);
        if (entry.level == 0) {
            EXPECT_GE(from, previousFrom); // the periods follow each other
            previousFrom = from;
        }
    }
    // The story runs from the patriarchs, dated uncertainly, to the end of the first century.
    EXPECT_EQ(rows.at("1")[3], "1");
    EXPECT_LT(std::stoi(rows.at("1")[1]), -1500);
    EXPECT_GE(std::stoi(rows.at("133")[2]), 90);
}

TEST(TopicContent, PhotoTreeHoldsTheDiagramsAndACaptionForEveryKey) {
    const TopicTable& tree = photoTree();
    expectWellFormed(tree, 225, 2);
    const TopicSourceRows rows = readTopicSource("PHOTO.txt");
    expectKeysMatchRows(tree, rows, std::regex("PHI[0-9]{9}"), always);
    expectBodies(rows, 0, true);

    // The builder draws the keys of the first group as diagrams, numbered from 1.
    int heading = 0;
    while (heading < entryCount(tree) &&
           cp949ToUtf8(tree[heading].title) != "그림으로 보는 성경의 세계")
        ++heading;
    ASSERT_LT(heading, entryCount(tree));
    EXPECT_TRUE(tree[heading].key.empty());
    int n = 1;
    for (; tree.at(heading + n).level == 1; ++n) {
        const std::string number = std::to_string(n);
        EXPECT_EQ(tree[heading + n].key, "PHI010" + std::string(6 - number.size(), '0') + number);
    }
    EXPECT_EQ(n - 1, 17);

    // A photograph links into Genesis, so the side-by-side arrangement can be tried.
    bool linksGenesis = false;
    for (const auto& [key, fields] : rows)
        linksGenesis |= fields.at(0).find("{A TAR=BVRAgen001001}") != std::string::npos;
    EXPECT_TRUE(linksGenesis);
}

TEST(TopicContent, MapTreeOpensTheFourMapsAndDescribesThePeriods) {
    const TopicTable& tree = mapTree();
    expectWellFormed(tree, 22, 1);
    const TopicSourceRows rows = readTopicSource("MAP.txt");
    const auto isTopic = [](const std::string& key) { return key[0] == 'm'; };
    expectKeysMatchRows(tree, rows, std::regex("f[1-4]|m[a-z0-9]{12}"), isTopic);
    expectBodies(rows, 0, true);
    const std::map<std::string, std::string> maps = {{"f1", "구약시대의 팔레스티나"},
                                                     {"f2", "신약시대의 팔레스티나"},
                                                     {"f3", "사도 바울의 여행"},
                                                     {"f4", "구약시대의 중동"}};
    std::map<std::string, std::string> found;
    int topics = 0;
    for (int i = 0; i < entryCount(tree); ++i) {
        if (tree[i].key.starts_with("f"))
            found[tree[i].key] = cp949ToUtf8(tree[i].title);
        topics += !tree[i].key.empty() && isTopic(tree[i].key);
    }
    EXPECT_EQ(found, maps);
    EXPECT_GT(topics, 0);
}

TEST(TopicContent, SourcesHoldOnlyTextThatCp949Keeps) {
    for (const char* name : {"CAME.txt", "HIS.txt", "PHOTO.txt", "MAP.txt"}) {
        SCOPED_TRACE(name);
        std::ifstream in(std::filesystem::path(QEL_SOURCE_DIR) / "data/topics" / name,
                         std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(text.empty());
        // The codec turns what CP949 lacks into '?', so a round trip shows it.
        EXPECT_EQ(cp949ToUtf8(utf8ToCp949(text)), text);
    }
}
