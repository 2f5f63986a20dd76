#include "bible/biblequeries.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(BibleQueries, ValuesAreEscapedAndOnlyKnownVersionsBecomeTableNames) {
    // The alias reads the rows of its slot; a quote inside a value is doubled.
    EXPECT_EQ(sql::chapterList("TEV", "a\"b"),
              "select chap from CHAPTER where vercode=\"GNB\" and volcode=\"a\"\"b\" order by "
              "sequence");
    EXPECT_EQ(sql::sectionTitleSearch("VRB"),
              "select * from TVRB where body like ? escape '\\' order by sequence");
    // Bound, so the apostrophe stays; wild cards and the escape of the text are escaped,
    // the trail byte 0x5C of a double-byte character is not.
    EXPECT_EQ(sql::sectionTitlePattern("it's *?#\\ 100% \x95\x5C"),
              "*it's \\*\\?\\#\\\\ 100% \x95\x5C*");
    EXPECT_EQ(versionTable("VRA; drop table VRA"), "");
    EXPECT_EQ(sql::article("sqlite_master", "x"), "select * from  where id='x'");
}

TEST(BibleQueries, ChapterPageStopsAtTheFirstVerseThatDoesNotFit) {
    const std::vector<VerseRow> rows = {{"1", "{D}1{/D}a\r\nb"}, {"2-3", "{D}2-3{/D}cc"}};
    const ChapterPage whole = chapterPage(rows, 1000);
    EXPECT_TRUE(whole.complete);
    EXPECT_EQ(whole.markup, "{S VAL=1}{/S}{D}1{/D}a  b{S VAL=2-3}{/S}{D}2-3{/D}cc");
    const std::size_t first = std::string("{S VAL=1}{/S}{D}1{/D}a  b").size();
    const ChapterPage cut = chapterPage(rows, first + 1); // room for the zero byte only
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(cut.markup.size(), first);
    EXPECT_TRUE(chapterPage(rows, first).markup.empty());
}
