#include "panels/sectiontitles.h"

#include "../support/tempdir.h"
#include "platform/codec.h"
#include "platform/database.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(SectionTitles, PlaceReadsFromTheFirstBracketColonAndClosingBracket) {
    EXPECT_EQ(titlePlace("니고데모 [3:16]").chapter, "3");
    EXPECT_EQ(titlePlace("니고데모 [3:16]").verse, "16");
    EXPECT_EQ(titlePlace("a [12:3-5] [9:9]").verse, "3-5");
    // A title without a place gives empty texts; the window falls back itself.
    EXPECT_EQ(titlePlace("제목만").chapter, "");
    EXPECT_EQ(titlePlace("제목만").verse, "");
}

TEST(SectionTitles, HitTextsCarryTheAbbreviationAndReadBack) {
    const std::string abbr = utf8ToCp949("요");
    const std::string hit = hitText("Nicodemus [3:1]", abbr);
    EXPECT_EQ(hit, "Nicodemus [" + abbr + " 3:1]");
    const HitPlace place = hitPlace(hit);
    EXPECT_EQ(place.abbreviation, abbr);
    EXPECT_EQ(place.chapter, "3");
    EXPECT_EQ(place.verse, "1");
    EXPECT_EQ(hitPlace("no place").abbreviation, "");
}

TEST(SectionTitles, SearchMatchesTheTypedTextLiterallyOrByInitialLetters) {
    TempDir dir;
    Database db((dir.path() / "t.db").string(), Database::Mode::Create);
    db.execute("create table TVRA (volcode TEXT, body TEXT, sequence INTEGER)");
    const char* rows[][2] = {{"jhn", "it's [3:1]"},
                             {"jhn", "a*b [3:2]"},
                             {"jhn", "axb [3:3]"},
                             {"gen", "50% [1:1]"},
                             {"gen", "a?b [1:2]"},
                             {"gen", "x#y [1:3]"},
                             {"jhn", "하나님의 사랑 [3:16]"},
                             {"gen", "천지 창조 [1:1]"}};
    long long sequence = 0;
    for (const auto& row : rows)
        db.execute("insert into TVRA values (?, ?, ?)", {row[0], utf8ToCp949(row[1]), ++sequence});
    const auto search = [&](const char* text) {
        std::vector<std::string> out;
        for (const std::string& hit : searchSectionTitles(db, "VRA", utf8ToCp949(text)))
            out.push_back(cp949ToUtf8(hit));
        return out;
    };
    EXPECT_EQ(search("it's"), std::vector<std::string>{"it's [요 3:1]"});
    EXPECT_EQ(search("a*b"), std::vector<std::string>{"a*b [요 3:2]"});
    for (const char* literal : {"a?b", "%", "#"})
        EXPECT_EQ(search(literal).size(), 1u) << literal;
    EXPECT_EQ(search("' or '1'='1").size(), 0u);
    EXPECT_EQ(search("").size(), 0u);
    EXPECT_EQ(sectionTitlesOf(db, "VRA", "gen").size(), 4u);
    EXPECT_EQ(sectionTitlesOf(db, "VRA", "gen").front(), "50% [1:1]");
    // Initial letters anywhere in a title are HangulInitials' rule.
    EXPECT_EQ(search("ㅅㄹ"), std::vector<std::string>{"하나님의 사랑 [요 3:16]"});
}
