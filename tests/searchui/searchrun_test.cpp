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
