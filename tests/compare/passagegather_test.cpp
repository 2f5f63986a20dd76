#include "compare/passagegather.h"
#include "compare/passagetable.h"
#include "mkdb/contentbuilder.h"
#include "platform/codec.h"
#include "platform/database.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {

class PassageGather : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        mkdb::ContentSources sources;
        // Verses of VRA whose bodies name their place: "jhn18:39".
        const struct {
            const char* book;
            int chap, first, last;
        } spans[] = {{"mat", 1, 1, 17},   {"mat", 26, 17, 25}, {"mrk", 14, 12, 21},
                     {"luk", 3, 23, 38},  {"luk", 22, 7, 23},  {"jhn", 1, 1, 18},
                     {"jhn", 13, 21, 30}, {"jhn", 18, 38, 40}, {"jhn", 19, 1, 17},
                     {"1sa", 31, 1, 13},  {"2sa", 5, 6, 12},   {"1ch", 10, 1, 14},
                     {"1ch", 11, 3, 9},   {"1ch", 14, 1, 3}};
        for (const auto& span : spans)
            for (int v = span.first; v <= span.last; ++v) {
                const std::string chap = std::to_string(span.chap), verse = std::to_string(v);
                sources.versions["VRA"].push_back(
                    {span.book, chap, verse, span.book + chap + ":" + verse + " "});
            }
        sources.versions["KJV"] = {{"gen", "1", "1", "In the beginning"}};
        mkdb::buildContentDatabase(sources, (dir->path() / "Bible.m14").string(),
                                   [](const std::string&) {});
    }
    static void TearDownTestSuite() { delete dir; }

    PassageGather() : db((dir->path() / "Bible.m14").string(), Database::Mode::ReadOnly) {}

    std::vector<std::string> gospels(int index) {
        return *loadPaneTexts(fourGospelComparison(), fourGospelTable().at(index), source);
    }
    std::vector<std::string> history(int index) {
        return *loadPaneTexts(historyBooksComparison(), historyBooksTable().at(index), source);
    }
    std::string gather(const std::string& references) {
        const std::vector<VerseSpan> spans = readGospelReferences(references);
        return gatherVerseSpan(spans.at(0), source);
    }

    static inline TempDir* dir = nullptr;
    Database db;
    DatabasePassageSource source{db};
};

std::string heading(const std::string& bookName, const std::string& reference) {
    return "{F SIZ=1.4 VAL=B}" + bookName + " " + reference + "{/F}{B}";
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

TEST_F(PassageGather, PrologueFillsOnlyTheJohnPaneUnderItsHeading) {
    const std::vector<std::string> panes = gospels(1);
    ASSERT_EQ(panes.size(), 4u);
    EXPECT_TRUE(panes[0].empty() && panes[1].empty() && panes[2].empty());
    const std::string text = cp949ToUtf8(panes[3]);
    EXPECT_EQ(text.rfind(heading("요한복음", "1:1-18") + "{B} {B}{D}1{/D}jhn1:1 ", 0), 0u) << text;
    EXPECT_NE(text.find("jhn1:18 "), std::string::npos);
}

TEST_F(PassageGather, LastSupperGivesLukeOneHeadingForBothParts) {
    const std::vector<std::string> panes = gospels(248);
    for (const std::string& pane : panes)
        EXPECT_FALSE(pane.empty());
    const std::string luke = cp949ToUtf8(panes[2]);
    EXPECT_EQ(occurrences(luke, "{F SIZ=1.4"), 1u);
    EXPECT_EQ(luke.rfind(heading("누가복음", "22:7-14,21-23"), 0), 0u);
    EXPECT_NE(luke.find("luk22:14 {B} {B}{D}21{/D}luk22:21 "), std::string::npos) << luke;
    EXPECT_EQ(luke.find("luk22:15 "), std::string::npos);
    EXPECT_NE(luke.find("luk22:23 "), std::string::npos);
}

TEST_F(PassageGather, SentenceRunsAcrossTheChapterChangeOfJohn) {
    const std::string john = cp949ToUtf8(gospels(270)[3]);
    EXPECT_EQ(occurrences(john, "{B} {B}"), 2u);
    EXPECT_NE(john.find("jhn18:40 {B} {B}{D}1{/D}jhn19:1 "), std::string::npos) << john;
    EXPECT_NE(john.find("jhn19:16 "), std::string::npos);
    EXPECT_EQ(john.find("jhn19:17 "), std::string::npos);
    EXPECT_EQ(john.find("jhn18:38 "), std::string::npos);
}

TEST_F(PassageGather, HeadingsLoadNothingButTheFirstHistoryEntryLoads) {
    EXPECT_FALSE(loadPaneTexts(fourGospelComparison(), fourGospelTable()[0], source));
    EXPECT_FALSE(loadPaneTexts(historyBooksComparison(), historyBooksTable()[1], source));
    // Panes follow the book order, not the order the references name them in.
    const std::vector<std::string> panes = history(0);
    ASSERT_EQ(panes.size(), 6u);
    EXPECT_EQ(cp949ToUtf8(panes[0]).rfind(heading("사무엘상", "31:1-13"), 0), 0u);
    EXPECT_EQ(cp949ToUtf8(panes[4]).rfind(heading("역대상", "10:1-14"), 0), 0u);
    for (int i : {1, 2, 3, 5})
        EXPECT_TRUE(panes[i].empty());
}

TEST_F(PassageGather, ZionEntryJoinsTwoChaptersOfChroniclesUnderOneHeading) {
    const std::vector<std::string> panes = history(13);
    EXPECT_FALSE(panes[1].empty());
    const std::string chronicles = cp949ToUtf8(panes[4]);
    EXPECT_EQ(occurrences(chronicles, "{F SIZ=1.4"), 1u);
    EXPECT_EQ(chronicles.rfind(heading("역대상", "11:4-9,14:1-2") + "{B} {B}{D}4{/D}1ch11:4 ", 0),
              0u)
        << chronicles;
    EXPECT_NE(chronicles.find("1ch11:9 {B} {B}{D}1{/D}1ch14:1 "), std::string::npos);
    EXPECT_EQ(chronicles.find("1ch11:3 "), std::string::npos);
    EXPECT_EQ(chronicles.find("1ch14:3 "), std::string::npos);
}

TEST_F(PassageGather, MissingVersesWidenTheRangeOrLeaveOnlyTheBreak) {
    // No last verse: the range runs to the end of the book.
    const std::string open = gather("jhn18:39-18:99");
    EXPECT_NE(open.find("jhn19:17 "), std::string::npos);
    // No first verse: it starts at the book's beginning.
    const std::string early = gather("mat26:1-26:18");
    EXPECT_EQ(early.rfind("{B} {B}{D}1{/D}mat1:1 ", 0), 0u) << early;
    EXPECT_NE(early.find("mat26:18 "), std::string::npos);
    EXPECT_EQ(early.find("mat26:19 "), std::string::npos);
    EXPECT_EQ(gather("jhn5:3"), "{B} {B}");
    // A chapter the edition lacks gathers nothing rather than the whole book.
    EXPECT_EQ(gather("jhn5:1-5:9"), "{B} {B}");
}

TEST_F(PassageGather, BookWithoutInstalledVersesGetsANotice) {
    const std::vector<PassageSlot> slots =
        gatherSlots(readGospelReferences("jhn5:1-9,6:1 mat1:1-2"), source, 4);
    ASSERT_EQ(slots.size(), 2u);
    EXPECT_EQ(cp949ToUtf8(slots[0].markup),
              heading("요한복음", "5:1-9,6:1") +
                  "{B} {B}{B} {B}{B}이 본문은 설치되어 있지 않습니다.");
    EXPECT_EQ(cp949ToUtf8(slots[1].markup).find("설치되어"), std::string::npos);
}

TEST_F(PassageGather, SlotsStopAtTheLimitAndKeepTheirOrder) {
    const std::vector<PassageSlot> slots =
        gatherSlots(readGospelReferences("jhn1:1 mat1:1 luk3:23"), source, 2);
    ASSERT_EQ(slots.size(), 2u);
    EXPECT_EQ(slots[0].book, "jhn");
    EXPECT_EQ(slots[1].book, "mat");
}
