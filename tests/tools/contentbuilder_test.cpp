#include "mkdb/contentbuilder.h"

#include "../support/fixturedb.h"
#include "../support/tempdir.h"
#include "bible/biblequeries.h"
#include "platform/codec.h"
#include "platform/database.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace qel;

namespace {

class ContentBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = (dir.path() / "Data" / "DB" / "Bible.m14").string();
        mkdb::buildContentDatabase(fixtureSources(), file, [](const std::string&) {});
        db.open(file, Database::Mode::ReadOnly);
    }
    TempDir dir;
    std::string file;
    Database db;
};

std::string queryPlan(Database& db, const std::string& sql) {
    std::string plan;
    for (RecordSet rs(db, "explain query plan " + sql); !rs.isEOF(); rs.moveNext())
        plan += rs.field("detail") + "\n";
    return plan;
}

} // namespace

TEST_F(ContentBuilderTest, VersionTablesChaptersAndVerses) {
    EXPECT_TRUE(hasContentTables(db));
    EXPECT_EQ(chaptersOf(db, "VRA", "gen"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(versesOf(db, "VRC", "gen", "1"), (std::vector<std::string>{"1", "3-5", "6"}));
    const auto rows = chapterRows(db, "VRA", "gen", "1");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].body, utf8ToCp949("{D}1{/D}맨 처음에 {W VAL=P}하나님{/W}께서 "));
    EXPECT_TRUE(chaptersOf(db, "NIV", "gen").empty()); // table exists, holds nothing
    EXPECT_FALSE(versionHasText(db, "NIV"));
    EXPECT_TRUE(versionHasText(db, "VRC"));
    EXPECT_TRUE(chaptersOf(db, "XYZ", "gen").empty());
    EXPECT_EQ(chapterRows(db, "KJV", "gen", "1")[1].body, "{D}2{/D}Aaron's {F VAL=I}rod{/F} ");
    EXPECT_EQ(chapterRows(db, "KJV", "gen", "1")[0].body,
              "{H}The Creation{/H}{D}1{/D}In the beginning ");
    EXPECT_EQ(chapterRows(db, "VRC", "gen", "1")[1].body, utf8ToCp949("{D}3-5{/D}빛이 있어라 "));
}

TEST_F(ContentBuilderTest, EveryVerseBodyEndsWithOneBlank) {
    // Run-on pages join the bodies as they stand, so a blank must end each one.
    mkdb::ContentSources sources = fixtureSources();
    sources.versions["VRE"] = {{"gen", "1", "1", "이미 띄어 쓴 절 "}, {"gen", "1", "2", ""}};
    const std::string other = (dir.path() / "other.m14").string();
    mkdb::buildContentDatabase(sources, other, [](const std::string&) {});
    Database built(other, Database::Mode::ReadOnly);
    std::size_t checked = 0;
    for (const auto& [code, verses] : sources.versions) {
        std::size_t rows = 0;
        for (RecordSet rs(built, "select body from " + code); !rs.isEOF(); rs.moveNext(), ++rows) {
            const std::string body = rs.field("body");
            ASSERT_TRUE(body.ends_with(' ')) << code << ": " << body;
            EXPECT_FALSE(body.ends_with("  ")) << code << ": " << body;
        }
        EXPECT_EQ(rows, verses.size()) << code;
        checked += rows;
    }
    EXPECT_GT(checked, 0u);
    EXPECT_EQ(chapterRows(built, "VRE", "gen", "1")[1].body, "{D}2{/D} ");
    const ChapterPage page = chapterPage(chapterRows(built, "VRA", "gen", "1"), 30000);
    EXPECT_NE(page.markup.find(utf8ToCp949("께서 {S VAL=2}{/S}{D}2{/D}")), std::string::npos);
}

TEST_F(ContentBuilderTest, TitlesRelatedContentAndScrambledArticles) {
    RecordSet titles(db, sql::sectionTitles("VRA", "jhn"));
    EXPECT_EQ(titles.field("body"), utf8ToCp949("니고데모 [3:1]"));
    RecordSet found(db, sql::sectionTitleSearch("VRA"),
                    {sql::sectionTitlePattern(utf8ToCp949("창조"))});
    EXPECT_EQ(found.field("volcode"), "gen");
    RecordSet ref(db, sql::relatedContent("jhn", "3", "16"));
    EXPECT_EQ(ref.field("body"), utf8ToCp949("{A TAR=BVRAgen001001}창 1:1{/A}"));
    RecordSet article(db, sql::article("ETC", utf8ToCp949("E일러두기")));
    EXPECT_EQ(article.field("body"), utf8ToCp949("{H}일러두기{/H}{B}본문"));
    RecordSet raw(db, "select typeof(body) as t from ETC");
    EXPECT_EQ(raw.field("t"), "blob");
}

TEST_F(ContentBuilderTest, ApostrophesInValuesCannotChangeAQuery) {
    EXPECT_TRUE(chapterRows(db, "VRA", "gen' or '1'='1", "1").empty());
    RecordSet rs(db, sql::sectionTitleSearch("VRA"),
                 {sql::sectionTitlePattern("x' or body like '*")});
    EXPECT_TRUE(rs.isEOF());
    EXPECT_TRUE(chaptersOf(db, "VRA", "gen\" or \"1\"=\"1").empty());
}

TEST_F(ContentBuilderTest, ChapterQueriesUseIndexesWithoutSorting) {
    for (const std::string& query :
         {sql::chapterText("KJV", "psa", "119"), sql::chapterList("KJV", "psa"),
          sql::verseList("KJV", "psa", "119"), sql::sectionTitles("VRA", "gen")}) {
        const std::string plan = queryPlan(db, query);
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << query << "\n" << plan;
        EXPECT_NE(plan.find("INDEX"), std::string::npos) << query << "\n" << plan;
    }
}

TEST(ContentBuilder, FailedBuildKeepsTheOldDatabase) {
    TempDir dir;
    const std::string file = (dir.path() / "Bible.m14").string();
    mkdb::buildContentDatabase(fixtureSources(), file, [](const std::string&) {});
    auto bad = fixtureSources();
    bad.articles["NOPE"] = {{"x", "y"}};
    EXPECT_THROW(mkdb::buildContentDatabase(bad, file, [](const std::string&) {}),
                 mkdb::SourceError);
    Database db(file, Database::Mode::ReadOnly);
    EXPECT_TRUE(hasContentTables(db));
}
