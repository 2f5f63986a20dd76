// The search dialogs' texts and forms, and their searches run without a window.
#include "platform/codec.h"
#include "searchui/searchforms.h"
#include "searchui/searchrun.h"
#include "versesearch/queryengine.h"

#include "../support/builtdata.h"
#include "../support/cp949.h"
#include "../support/files.h"
#include "../support/tempdir.h"

#include <fstream>
#include <gtest/gtest.h>

#include <filesystem>

using namespace qel;

TEST(SearchForms, NormalisationAndJoinForms) {
    VerseQuery q = verseQuery(cp("사랑, 믿음"), kModeAnd);
    EXPECT_EQ(u8(q.text), "사랑 && 믿음");
    EXPECT_EQ(q.nWords, 2);
    q = verseQuery(cp("사랑, 믿음"), kModeOr);
    EXPECT_EQ(u8(q.text), "사랑 || 믿음");
    EXPECT_EQ(q.nWords, 1);
    q = verseQuery(cp("사랑, 믿음"), kModePhrase);
    EXPECT_EQ(u8(q.text), "사랑 믿음");
    EXPECT_EQ(q.nWords, 2);
    // One pass: three blanks become two, and both count.
    q = verseQuery(" \ta   b\n", kModePhrase);
    EXPECT_EQ(q.text, "a  b");
    EXPECT_EQ(q.nWords, 3);
    EXPECT_EQ(normaliseSearchQuery("a    b"), "a  b");
    EXPECT_EQ(normaliseSearchQuery(",a,,b,"), " a b ");
    EXPECT_EQ(verseEngineType(0), 1);
    EXPECT_EQ(verseEngineType(2), 3);
    EXPECT_EQ(verseEngineType(7), 1);
}

TEST(SearchForms, ShortInitialsAreRefused) {
    const struct {
        const char* query;
        bool refused;
    } cases[] = {
        {"ㅎ", true},           {"ㅎㄴ", true},      {"ㅎㄴㄴ", false},
        {"사랑 ㅎㄴ", true},    {"ㅎㄴ 사랑", true}, {"하ㄴ", false}, // not letters only
        {"ㅎㄴㄴ 사랑", false}, {"요 3", false},     {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hasShortInitialsWord(cp(c.query)), c.refused) << c.query;
}

TEST(SearchForms, CentringOfHits) {
    const std::string text = "w1 w2 w3 w4 w5 w6 w7 w8 w9 w10";
    EXPECT_EQ(verseRowCell(text, "7#9", true), "3|5||w5 w6 w7 w8 w9 w10");
    // Positions of a second record of the verse follow after "|".
    EXPECT_EQ(verseRowCell(text, "7|9#10", true), "3|5|6||w5 w6 w7 w8 w9 w10");
    EXPECT_EQ(verseRowCell(text, "3#9", true), "3|9||" + text);
    EXPECT_EQ(verseRowCell(text, "7#9", false), "7|9||" + text);
    // A text with fewer words than the shift keeps its last word.
    EXPECT_EQ(verseRowCell("one two", "9", true), "3||two");
}

TEST(SearchForms, RangeTexts) {
    EXPECT_EQ(u8(verseRangeText(2, cp("신약"))), "신약");
    EXPECT_EQ(u8(verseRangeText(0, cp("전체"))), "전체");
    EXPECT_EQ(u8(verseRangeText(64, cp("요한1서"))), "요일");
    EXPECT_EQ(u8(verseRangeText(3, cp("창세기"))), "창");
    EXPECT_EQ(verseRangeText(3, cp("없는 책")), "");
    EXPECT_EQ(verseRangeText(-1, cp("전체")), "");
    EXPECT_EQ(wordRangeText(0, "Bible", "KJV"), "all");
    EXPECT_EQ(wordRangeText(1, "Old Testament", "KJV"), "old");
    EXPECT_EQ(wordRangeText(2, cp("신약"), "VRA"), "new");
    EXPECT_EQ(wordRangeText(45, "John", "KJV"), "jhn");
    EXPECT_EQ(wordRangeText(45, cp("요한복음"), "VRA"), "jhn");
    EXPECT_TRUE(isEnglishWordSearchVersion(4));
    EXPECT_TRUE(isEnglishWordSearchVersion(6));
    EXPECT_FALSE(isEnglishWordSearchVersion(3));
    EXPECT_EQ(wordSearchVersionInfo(6).code, "GNB");
    EXPECT_EQ(wordSearchVersionInfo(6).copyTitle, "TEV");
    EXPECT_EQ(u8(wordSearchVersionInfo(9).copyTitle), "역본 가");
}

TEST(SearchForms, WordQueryTextsForEveryModeAndType) {
    const std::string q = cp("믿음 소망");
    EXPECT_EQ(u8(wordQueryText(q, kModeAnd, kTypeAllForms)), "믿음*&소망*&~");
    EXPECT_EQ(u8(wordQueryText(q, kModeAnd, kTypeBasic)), "믿음&소망&~");
    EXPECT_EQ(u8(wordQueryText(q, kModeOr, kTypeBasic)), "믿음#소망#~");
    EXPECT_EQ(u8(wordQueryText(q, kModeOr, kTypeAllForms)), "믿음*#소망*#~");
    EXPECT_EQ(u8(wordQueryText(q, kModePhrase, kTypeBasic)), "\"믿음 소망\"&~");
    EXPECT_EQ(u8(wordQueryText(q, kModePhrase, kTypeAllForms)), "\"믿음 소망\"&~");
    EXPECT_EQ(wordQueryText("love", kModeAnd, kTypeBasic), "love&~");
    EXPECT_EQ(wordHighlightText("\"in the\",x"), " in the  x");
}

TEST(SearchForms, WordReferencesAndCentredText) {
    const auto reference = [](const std::string& text) {
        const WordReference r = splitWordReference(text);
        return u8(r.book) + " " + r.chapter + ":" + r.verse;
    };
    EXPECT_EQ(reference("KJVjhnJn 3:16"), "Jn 3:16");
    EXPECT_EQ(reference("KJVpsaPs 001"), "Ps 1:0");
    EXPECT_EQ(reference(cp("VRA1jn요한1서 1:7")), "요한1서 1:7");

    const std::string verse = "For God so loved the world that he gave his only begotten Son";
    // Phrase: three words before it.
    EXPECT_EQ(centredWordText(verse, "he gave", kModePhrase, 0, true),
              "the world that he gave his only begotten Son");
    EXPECT_EQ(centredWordText(verse, "no such", kModePhrase, 0, true), verse);
    // Words: two words before the first one found.
    EXPECT_EQ(centredWordText(verse, "gave world", kModeAnd, kTypeAllForms, true),
              "loved the world that he gave his only begotten Son");
    // "기본" counts only an occurrence followed by a blank: "Son" ends the text.
    EXPECT_EQ(centredWordText(verse, "Son", kModeOr, kTypeBasic, true), verse);
    EXPECT_EQ(centredWordText(verse, "Son", kModeOr, kTypeAllForms, true), "only begotten Son");
    EXPECT_EQ(centredWordText(verse, "For", kModeAnd, kTypeBasic, true), verse);
    EXPECT_EQ(centredWordText(verse, "gave", kModeAnd, kTypeBasic, false), verse);
}

TEST(SearchForms, CopiedLinesCarryTheirCitations) {
    EXPECT_EQ(u8(verseResultCopyLine(cp("3|5||하나님께서 세상을"), cp("요"), "3", "16")),
              "하나님께서 세상을 (역본 가 요한복음 3:16)\r\n");
    EXPECT_EQ(u8(verseResultCopyLine(cp("1||말씀"), cp("요일"), "1", "1")),
              "말씀 (역본 가 요한1서 1:1)\r\n");
    // An unknown abbreviation is copied as it is.
    EXPECT_EQ(verseResultCopyLine("1||x", "Zz", "1", "2"), utf8ToCp949("x (역본 가 Zz 1:2)\r\n"));
    EXPECT_EQ(wordResultCopyLine(4, "Jn", "3", "16", "For God"), "For God (KJV Jn 3:16)\r\n");
    EXPECT_EQ(wordResultCopyLine(6, "Ps", "23", "0", "A psalm"), "A psalm (TEV Ps 23)\r\n");
    EXPECT_EQ(u8(wordResultCopyLine(1, cp("창"), "1", "1", cp("처음에"))),
              "처음에 (역본 나 창 1:1)\r\n");
}

TEST(SearchForms, CommandKeysOfResults) {
    EXPECT_EQ(verseResultCommandKey(cp("요"), "3", "16"), "BVRAjhn003016");
    EXPECT_EQ(verseResultCommandKey(cp("요일"), "1", "7"), "BVRA1jn001007");
    EXPECT_EQ(verseResultCommandKey(cp("권"), cp("장"), cp("절")), "");
    EXPECT_EQ(wordResultCommandKey("KJV", "Jn", "3", "16"), "BKJVjhn003016");
    EXPECT_EQ(wordResultCommandKey("KJV", "Ps", "119", "105"), "BKJVpsa119105");
    EXPECT_EQ(wordResultCommandKey("KJV", cp("요"), "3", "16"), "");
}

TEST(SearchForms, OperatorsTypedInTheQueryNameTheMode) {
    const struct {
        const char* typed;
        int chosen;
        const char* text;
        int mode;
    } rows[] = {
        {"faith AND hope", kModePhrase, "faith hope", kModeAnd},
        {"faith OR hope OR charity", kModeAnd, "faith hope charity", kModeOr},
        {"믿음 그리고 소망", kModeOr, "믿음 소망", kModeAnd},
        {"믿음 또는 소망", kModeAnd, "믿음 소망", kModeOr},
        // A word, not an operator; both kinds; nothing but an operator.
        {"faith and hope", kModePhrase, "faith and hope", kModePhrase},
        {"faith AND hope OR love", kModeAnd, "faith AND hope OR love", kModeAnd},
        {"OR", kModePhrase, "OR", kModePhrase},
        {"ANDROID", kModeOr, "ANDROID", kModeOr},
    };
    for (const auto& row : rows) {
        const TypedQuery q = typedQueryMode(cp(row.typed), row.chosen);
        EXPECT_EQ(u8(q.text), row.text) << row.typed;
        EXPECT_EQ(q.mode, row.mode) << row.typed;
    }
}

namespace {

// Records what a search reports; it can ask to stop after some rows and answers choices.
class RecordingSink : public SearchSink {
public:
    bool stopRequested() const override {
        return stopAfterRows >= 0 && static_cast<int>(rows.size()) >= stopAfterRows;
    }
    void message(const std::string& text) override { messages.push_back(cp949ToUtf8(text)); }
    void status(const std::string& text) override { lastStatus = cp949ToUtf8(text); }
    void resetGrid() override {
        ++resets;
        rows.clear();
    }
    void addRow(std::vector<std::string> cells, std::uint32_t itemData) override {
        rows.push_back(std::move(cells));
        data.push_back(itemData);
    }
    void rememberQuery(const std::string& query) override { remembered = cp949ToUtf8(query); }
    bool choose(const std::string& title, const std::string& list, int& index,
                std::string& text) override {
        titles.push_back(cp949ToUtf8(title));
        lists.push_back(cp949ToUtf8(list));
        index = choice;
        text = "choice" + std::to_string(titles.size());
        return !cancelChoices;
    }

    int stopAfterRows = -1;
    int choice = 0;
    bool cancelChoices = false;
    int resets = 0;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::uint32_t> data;
    std::vector<std::string> messages, titles, lists;
    std::string lastStatus, remembered;
};

class VerseSearchRun : public ::testing::Test {
protected:
    VerseSearchJob job(const char* query, int type = 1) {
        VerseSearchJob j;
        j.query = cp(query);
        j.searchType = type;
        j.rangeIndex = 0;
        j.rangeItem = cp("전체");
        j.indexFolder = builtDataFolder("DBF");
        j.resultPath = dir.str() + "/out.dat";
        return j;
    }
    TempDir dir;
};

} // namespace

TEST_F(VerseSearchRun, FindsVersesWithTheirHitPositions) {
    RecordingSink sink;
    const int count = runVerseSearch(job("하나님", 0), sink);
    ASSERT_GT(count, 0);
    EXPECT_EQ(static_cast<int>(sink.rows.size()), count);
    EXPECT_EQ(sink.lastStatus, "단어가 포함된 절 수 : " + std::to_string(count));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(sink.remembered, "하나님");
    EXPECT_EQ(sink.resets, 1);
    for (std::size_t r = 0; r < sink.rows.size(); ++r) {
        const auto& row = sink.rows[r];
        ASSERT_EQ(row.size(), 5u);
        EXPECT_FALSE(row[0].empty());
        // The whole verse goes along for the copies; the cell shows its end.
        EXPECT_TRUE(row[4].ends_with(row[3].substr(row[3].find("||") + 2))) << cp949ToUtf8(row[4]);
        // Centred: the first hit is word 3 at most, and it is the query word.
        const std::string cell = cp949ToUtf8(row[3]);
        const int first = std::stoi(cell);
        EXPECT_GE(first, 1);
        EXPECT_LE(first, 3) << cell;
        const std::string text = cell.substr(cell.find("||") + 2);
        std::size_t start = 0;
        for (int w = 1; w < first; ++w)
            start = text.find(' ', start) + 1;
        EXPECT_EQ(text.compare(start, 9, "하나님"), 0) << cell;
        EXPECT_EQ(sink.data[r], 1u);
    }
}

TEST_F(VerseSearchRun, RefusedQueriesAndEmptyResults) {
    RecordingSink sink;
    // A word that indexes nothing.
    EXPECT_EQ(runVerseSearch(job("그"), sink), 0);
    EXPECT_EQ(sink.messages, (std::vector<std::string>{
                                 "성구 검색용 색인어가 아닙니다.\n다른 단어를 사용해 보십시오."}));
    // An empty result file ("*" alone): no rows, the message and the count 0.
    RecordingSink none;
    EXPECT_EQ(runVerseSearch(job("코끼리", 0), none), 0);
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(none.messages, (std::vector<std::string>{"아무 것도 찾을 수 없습니다."}));
    EXPECT_EQ(none.lastStatus, "단어가 포함된 절 수 : 0");
    // A book that is not in the abbreviation table leaves quietly.
    RecordingSink quiet;
    VerseSearchJob j = job("하나님", 0);
    j.rangeIndex = 5;
    j.rangeItem = cp("없는 책");
    EXPECT_EQ(runVerseSearch(j, quiet), 0);
    EXPECT_TRUE(quiet.messages.empty());
    EXPECT_TRUE(quiet.rows.empty());
}

// A missing or damaged index is not an empty result: the reader learns which file is at
// fault and how to make it again.
TEST_F(VerseSearchRun, AMissingOrDamagedIndexSaysSo) {
    const std::filesystem::path folder = dir.path() / "DBF";
    std::filesystem::create_directories(folder);
    for (const bool present : {false, true}) {
        if (present) {
            // The header of a real index over a cut-off body.
            std::ofstream(folder / "VRA.idx", std::ios::binary)
                << fileBytes(builtDataFolder("DBF") + "/VRA.idx").substr(0, 4096);
        }
        RecordingSink sink;
        VerseSearchJob j = job("하나님", 0);
        j.indexFolder = folder.string() + "/";
        EXPECT_EQ(runVerseSearch(j, sink), 0);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0], "성구 검색 색인이 없거나 손상되어 찾을 수 없습니다.\n" +
                                        (folder / "VRA.idx").string() +
                                        "\nqel-mkdb로 색인을 다시 만들어 주십시오 (자료를 다시 "
                                        "만들거나 역본을 다시 가져오면 새로 만들어집니다).");
        EXPECT_TRUE(sink.rows.empty());
    }
}

TEST_F(VerseSearchRun, ChoicesAreAskedAndNamedInTheStatus) {
    RecordingSink sink;
    const int count = runVerseSearch(job("들어", 1), sink);
    ASSERT_FALSE(sink.titles.empty());
    EXPECT_EQ(sink.titles[0], "낱말 선택");
    EXPECT_NE(sink.lists[0].find("듣다"), std::string::npos);
    EXPECT_EQ(
        sink.lastStatus.rfind("단어가 포함된 절 수 : " + std::to_string(count) + " [choice1]", 0),
        0u)
        << sink.lastStatus;
    // Cancelling a choice finds nothing and leaves the grid alone.
    RecordingSink cancelled;
    cancelled.cancelChoices = true;
    EXPECT_EQ(runVerseSearch(job("들어", 1), cancelled), 0);
    EXPECT_EQ(cancelled.resets, 0);
    EXPECT_EQ(cancelled.messages, (std::vector<std::string>{"아무 것도 찾을 수 없습니다."}));
    // Homonyms of a Sino-Korean noun.
    RecordingSink homonyms;
    runVerseSearch(job("성전", 1), homonyms);
    ASSERT_FALSE(homonyms.titles.empty());
    EXPECT_EQ(homonyms.titles.back(), "동음 이의어 선택");
}

TEST_F(VerseSearchRun, RecordsOfOneVerseMakeOneRow) {
    ASSERT_EQ(OpenDic(builtDataFolder("DBF").c_str()), 1);
    OpenContDB(builtDataFolder("DBF").c_str());
    RecordingSink sink;
    const std::string file = cp("요3:16#2\n^요3:16#9\n^창1:1#1\n^*");
    EXPECT_EQ(readVerseResults(file, false, 2, sink), 2);
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_EQ(cp949ToUtf8(sink.rows[0][0]), "요");
    EXPECT_EQ(sink.rows[0][1], "3");
    EXPECT_EQ(sink.rows[0][2], "16");
    EXPECT_EQ(sink.rows[0][3].rfind("2|9||", 0), 0u) << sink.rows[0][3];
    EXPECT_EQ(sink.rows[1][3].rfind("1||", 0), 0u);
    EXPECT_EQ(sink.data[0], 2u);
    // A stop between records ends the list with what was read.
    RecordingSink stopped;
    stopped.stopAfterRows = 0;
    EXPECT_EQ(readVerseResults(file, false, 1, stopped), 0);
    EXPECT_EQ(stopped.messages, (std::vector<std::string>{"검색을 중단 합니다."}));
    CloseDic();
}

namespace {

WordSearchJob kjvJob(const char* query, int mode = 1, int type = 1) {
    WordSearchJob j;
    j.query = query;
    j.versionIndex = 4;
    j.rangeIndex = 0;
    j.rangeItem = "Bible";
    j.mode = mode;
    j.searchType = type;
    j.indexPath = builtDataFolder("M14") + "/4.m14";
    return j;
}

} // namespace

TEST(WordSearchRun, KjvLoveRowsAreCountedByType) {
    RecordingSink sink;
    const int count = runWordSearch(kjvJob("love", kModeAnd, kTypeBasic), sink);
    ASSERT_GT(count, 100);
    EXPECT_EQ(static_cast<int>(sink.rows.size()), count);
    EXPECT_EQ(sink.lastStatus, "단어가 포함된 절 수 : " + std::to_string(count));
    // The type reaches the query: all the forms find more.
    RecordingSink all;
    EXPECT_GT(runWordSearch(kjvJob("love", kModeAnd, kTypeAllForms), all), count);
}

TEST(WordSearchRun, FailureMessages) {
    RecordingSink sink;
    EXPECT_EQ(runWordSearch(kjvJob(""), sink), 0);
    EXPECT_EQ(sink.messages, (std::vector<std::string>{"단어를 입력해 주십시오."}));
    RecordingSink range;
    WordSearchJob j = kjvJob("love");
    j.rangeIndex = -1;
    runWordSearch(j, range);
    EXPECT_EQ(range.messages, (std::vector<std::string>{"범위를 선택해 주십시오."}));
    RecordingSink missing;
    j = kjvJob("love");
    j.indexPath = "/nonexistent/4.m14";
    runWordSearch(j, missing);
    ASSERT_EQ(missing.messages.size(), 1u);
    EXPECT_TRUE(missing.messages[0].starts_with(
        "단어 검색 색인이 없거나 손상되어 찾을 수 없습니다.\n/nonexistent/4.m14\nqel-mkdb로"))
        << missing.messages[0];
    RecordingSink nothing;
    runWordSearch(kjvJob("zzyzzx"), nothing);
    EXPECT_EQ(nothing.messages, (std::vector<std::string>{"아무것도 찾지 못했습니다."}));
    EXPECT_EQ(nothing.lastStatus, "단어가 포함된 절 수 : 0");
    // A stop keeps the rows found so far.
    RecordingSink stopped;
    stopped.stopAfterRows = 10;
    EXPECT_EQ(runWordSearch(kjvJob("the"), stopped), 10);
    EXPECT_EQ(stopped.rows.size(), 10u);
    EXPECT_EQ(stopped.messages, (std::vector<std::string>{"검색을 중단 합니다."}));
}
