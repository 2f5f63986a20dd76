#include "bible/biblequeries.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(BibleQueries, TextsAreTheProgramsOwnWithValuesEscaped) {
    EXPECT_EQ(sql::chapterText("VRA", "jhn", "3"),
              "select * from VRA where volcode='jhn' and chap='3' order by sequence");
    EXPECT_EQ(sql::chapterList("TEV", "gen"),
              "select chap from CHAPTER where vercode=\"GNB\" and volcode=\"gen\" order by "
              "sequence");
    EXPECT_EQ(sql::sectionTitleSearch("VRB", "it's"),
              "select * from TVRB where body like '*it''s*' order by sequence");
    EXPECT_EQ(sql::chapterList("VRA", "a\"b"),
              "select chap from CHAPTER where vercode=\"VRA\" and volcode=\"a\"\"b\" order by "
              "sequence");
    EXPECT_EQ(sql::article("CRI", "all"), "select * from CRI where id='all'");
}

TEST(BibleQueries, UnknownVersionNeverBecomesATableName) {
    EXPECT_EQ(versionTable("VRA; drop table VRA"), "");
    EXPECT_EQ(versionTable("TEV"), "GNB");
    EXPECT_EQ(sql::article("sqlite_master", "x"), "select * from  where id='x'");
}
