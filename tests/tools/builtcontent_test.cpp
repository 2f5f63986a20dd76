// Checks on the content database that the build lays beside the program.
#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/editions.h"
#include "panels/sectiontitles.h"
#include "platform/codec.h"
#include "platform/database.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace qel;

namespace {

class BuiltContent : public ::testing::Test {
protected:
    void SetUp() override { db.open(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly); }
    long long count(const std::string& sql) {
        RecordSet rs(db, sql);
        return std::stoll(rs.field("n"));
    }
    Database db;
};

} // namespace

TEST_F(BuiltContent, WholeKjvWithItsChapters) {
    EXPECT_EQ(count("select count(*) as n from KJV"), 31102);
    EXPECT_EQ(count("select count(*) as n from CHAPTER where vercode='KJV'"), 1189);
    EXPECT_EQ(chaptersOf(db, "KJV", "psa").size(), 150u);
    EXPECT_EQ(versesOf(db, "KJV", "psa", "119").size(), 176u);
    EXPECT_NE(chapterRows(db, "KJV", "jhn", "3").at(15).body.find("For God so loved the world"),
              std::string::npos);
    EXPECT_EQ(count("select count(*) as n from PARALLEL where VERCODE='4'"), 31102);
    // Verses run on in one paragraph stay apart: "judgments. 107".
    EXPECT_EQ(count("select count(*) as n from KJV where body not like '* '"), 0);
    EXPECT_TRUE(chapterRows(db, "KJV", "psa", "119").at(105).body.ends_with("judgments. "));
}

TEST_F(BuiltContent, KoreanSamplesAreCompleteAndInCp949) {
    const struct {
        const char* version;
        const char* book;
        const char* chapter;
        std::size_t rows;
    } chapters[] = {{"VRA", "gen", "1", 31},    {"VRA", "gen", "3", 24},  {"VRA", "psa", "23", 6},
                    {"VRA", "psa", "119", 176}, {"VRA", "jnh", "4", 11},  {"VRA", "mat", "5", 48},
                    {"VRA", "mat", "26", 75},   {"VRA", "mrk", "14", 72}, {"VRA", "luk", "23", 56},
                    {"VRA", "jhn", "1", 51},    {"VRA", "jhn", "13", 38}, {"VRA", "jhn", "19", 42},
                    {"VRA", "1sa", "31", 13},   {"VRA", "2sa", "3", 39},  {"VRA", "2sa", "6", 23},
                    {"VRA", "1ch", "11", 47},   {"VRA", "1ch", "16", 43}, {"VRA", "1co", "13", 13},
                    {"VRA", "php", "4", 23},    {"VRB", "tob", "1", 22},  {"VRB", "jhn", "3", 36},
                    {"VRC", "psa", "23", 6},    {"VRE", "gen", "1", 31},  {"VRD", "jhn", "3", 36}};
    for (const auto& c : chapters) {
        const auto rows = chapterRows(db, c.version, c.book, c.chapter);
        EXPECT_EQ(rows.size(), c.rows) << c.version << " " << c.book << " " << c.chapter;
        for (const VerseRow& row : rows) {
            EXPECT_EQ(utf8ToCp949(cp949ToUtf8(row.body)), row.body);
            EXPECT_TRUE(row.body.ends_with(' ')) << c.version << " " << row.body;
        }
    }
    // A merged row labelled as a range.
    EXPECT_EQ(versesOf(db, "VRC", "gen", "1").at(2), "3-5");
    EXPECT_TRUE(chaptersOf(db, "NIV", "gen").empty());
    EXPECT_TRUE(chaptersOf(db, "GNB", "gen").empty());
}

TEST_F(BuiltContent, EveryVersionRowHasOneParallelRow) {
    for (int index = 0; index < 7; ++index) {
        std::string table;
        for (const Edition& v : editionTable())
            if (parallelVersionIndex(v.code) == index)
                table = v.code;
        const std::string digit = std::to_string(index);
        EXPECT_EQ(count("select count(*) as n from PARALLEL where VERCODE='" + digit + "'"),
                  count("select count(*) as n from " + table))
            << table;
        // Each row matches its verse in the version's own table.
        EXPECT_EQ(count("select count(*) as n from " + table +
                        " v where (select count(*) from "
                        "PARALLEL p where p.volcode=v.volcode and p.chap=v.chap and "
                        "p.sec=v.sec and p.VERCODE='" +
                        digit + "' and p.body=v.body) <> 1"),
                  0)
            << table;
    }
    EXPECT_EQ(count("select count(*) as n from PARALLEL where VERCODE not in "
                    "('0','1','2','3','4','5','6')"),
              0);
}

TEST_F(BuiltContent, TitlesRelatedContentAndArticles) {
    for (const char* version : {"VRA", "VRB", "VRC", "VRE"})
        EXPECT_GT(count(std::string("select count(*) as n from T") + version), 0) << version;
    EXPECT_GT(count("select count(*) as n from REF"), 10);
    RecordSet prolog(db, sql::article("ETC", utf8ToCp949("E일러두기")));
    ASSERT_FALSE(prolog.isEOF());
    EXPECT_GT(prolog.field("body").size(), 200u);
    for (const char* table : {"BOOK", "TERM", "UNITS", "CRI"})
        EXPECT_GT(count(std::string("select count(*) as n from ") + table), 0) << table;
}

TEST_F(BuiltContent, EverySampleChapterHasSectionTitlesThatNameItsVerses) {
    for (const char* version : {"VRA", "VRB", "VRC", "VRE"}) {
        std::size_t chapters = 0;
        for (RecordSet rs(db, std::string("select distinct volcode, chap from ") + version);
             !rs.isEOF(); rs.moveNext(), ++chapters) {
            const std::string book = rs.field("volcode"), chapter = rs.field("chap");
            bool titled = false;
            for (const std::string& title : sectionTitlesOf(db, version, book)) {
                const TitlePlace place = titlePlace(title);
                titled = titled || place.chapter == chapter;
                const auto verses = versesOf(db, version, book, place.chapter);
                EXPECT_NE(std::find(verses.begin(), verses.end(), place.verse), verses.end())
                    << version << " " << book << " " << cp949ToUtf8(title);
            }
            EXPECT_TRUE(titled) << version << " " << book << " " << chapter;
        }
        EXPECT_GT(chapters, 0u) << version;
    }
}

TEST_F(BuiltContent, EveryLinkPointsAtAnExistingVerse) {
    for (RecordSet rs(db, "select body from REF"); !rs.isEOF(); rs.moveNext()) {
        const std::string body = rs.field("body");
        for (auto at = body.find("TAR=B"); at != std::string::npos;
             at = body.find("TAR=B", at + 1)) {
            const std::string key = body.substr(at + 5, 12);
            RecordSet verse(
                db, "select sec from " + key.substr(0, 3) + " where volcode=? and chap=? and sec=?",
                {key.substr(3, 3), std::to_string(std::stoi(key.substr(6, 3))),
                 std::to_string(std::stoi(key.substr(9, 3)))});
            EXPECT_FALSE(verse.isEOF()) << key;
        }
    }
}
