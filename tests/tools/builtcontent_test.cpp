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
    // The build's export read whole: no tag of the module left, the Psalm titles kept.
    EXPECT_EQ(count("select count(*) as n from KJV where instr(body, '<') or instr(body, '>') or "
                    "instr(body, '\\')"),
              0);
    EXPECT_TRUE(chapterRows(db, "KJV", "psa", "23").at(0).body.starts_with("{H}"));
}

// Every chapter of the samples is whole: its verses run without a gap to the KJV's last
// verse of the chapter, the versification the Korean editions share. Each has a section
// title, and every title names a verse of its edition (VRD has no titles).
TEST_F(BuiltContent, KoreanSamplesAreCompleteTitledAndInCp949) {
    for (const std::string version : {"VRA", "VRB", "VRC", "VRD", "VRE"}) {
        std::size_t chapters = 0;
        for (RecordSet rs(db, "select distinct volcode, chap from " + version); !rs.isEOF();
             rs.moveNext(), ++chapters) {
            const std::string book = rs.field("volcode"), chapter = rs.field("chap");
            SCOPED_TRACE(version + " " + book + " " + chapter);
            int next = 1;
            for (const VerseRow& row : chapterRows(db, version, book, chapter)) {
                EXPECT_EQ(std::stoi(row.verse), next) << "a verse missing before " << row.verse;
                // After the range's end; a single verse has no '-' and npos + 1 is 0.
                next = std::stoi(row.verse.substr(row.verse.find('-') + 1)) + 1;
                EXPECT_EQ(utf8ToCp949(cp949ToUtf8(row.body)), row.body);
            }
            if (const auto kjv = versesOf(db, "KJV", book, chapter); !kjv.empty()) {
                EXPECT_EQ(std::to_string(next - 1), kjv.back());
            }
            bool titled = version == "VRD";
            for (const std::string& title : sectionTitlesOf(db, version, book)) {
                const TitlePlace place = titlePlace(title);
                titled = titled || place.chapter == chapter;
                const auto verses = versesOf(db, version, book, place.chapter);
                EXPECT_NE(std::find(verses.begin(), verses.end(), place.verse), verses.end())
                    << cp949ToUtf8(title);
            }
            EXPECT_TRUE(titled);
        }
        EXPECT_GT(chapters, 0u);
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

TEST_F(BuiltContent, RelatedContentAndArticles) {
    EXPECT_GT(count("select count(*) as n from REF"), 10);
    RecordSet prolog(db, sql::article("ETC", utf8ToCp949("E일러두기")));
    ASSERT_FALSE(prolog.isEOF());
    EXPECT_GT(prolog.field("body").size(), 200u);
    for (const char* table : {"BOOK", "TERM", "UNITS", "CRI"})
        EXPECT_GT(count(std::string("select count(*) as n from ") + table), 0) << table;
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
