#include "companion/journalfile.h"
#include "companion/journalstore.h"
#include "companion/readingplan.h"
#include "study/bookmarkstore.h"
#include "study/highlightstore.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace qel;

namespace {

class JournalStoreTest : public ::testing::Test {
protected:
    std::string file(const char* name = "Study.mdb") const { return (dir.path() / name).string(); }
    TempDir dir;
};

DiaryEntry awkwardEntry() {
    // Tabs, line ends, backslashes and a text far longer than a page: kept as written.
    std::string body = "첫 줄\t탭\\n 아님\r\n둘째 줄\n";
    while (body.size() < 300000)
        body += "말씀이 사람의 몸을 입고 우리와 함께 지내시니 ";
    return {"2024-02-29", "윤일의 묵상", "요한복음 1장", "jhn:1:14", "감사", body};
}

} // namespace

// Each store of the note file writes every change at once: a killed process loses none.
TEST_F(JournalStoreTest, LivesBesideTheNotesAndKeepsWhatAKilledProcessWrote) {
    const ReadingPlan& mcheyne = *findReadingPlan("mcheyne");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Everything is written at once: the process dies without closing anything.
        NoteStore notes(file());
        notes.save({"VRA", "gen", "1", "1"}, "맨 처음에");
        JournalStore store(file());
        store.startPlan("mcheyne", {2024, 12, 31});
        store.startPlan("nt-90", {2025, 1, 1});
        store.setDaysRead("mcheyne", mcheyne, 0, 1, true, {2025, 1, 1});
        store.setRead("mcheyne", 2, 3, true, {2025, 1, 2});
        store.saveEntry(awkwardEntry());
        HighlightStore highlights(file());
        BookmarkStore bookmarks(file());
        const long long folder = bookmarks.folder("묶음");
        for (int v = 1; v <= 20; ++v) {
            const std::string verse = std::to_string(v);
            highlights.apply({"KJV", "psa", "119", verse}, 0, kWholeVerse, v % 5 + 1);
            bookmarks.add(v % 2 ? folder : 0, verse, "BKJVpsa119" + verse);
        }
        bookmarks.renameFolder(folder, "홀수");
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    JournalStore store(file());
    EXPECT_EQ(store.plans(),
              (std::vector<PlanRun>{{"mcheyne", {2024, 12, 31}}, {"nt-90", {2025, 1, 1}}}));
    const auto marks = store.marks("mcheyne");
    EXPECT_EQ(marks.size(), 9u);
    EXPECT_TRUE(marks.count({2, 3}));
    EXPECT_EQ(store.entry("2024-02-29"), awkwardEntry());
    NoteStore notes(file());
    ASSERT_TRUE(notes.isOpen());
    EXPECT_EQ(notes.load({"VRA", "gen", "1", "1"}), "맨 처음에");
    const std::vector<Highlight> highlights = HighlightStore(file()).all();
    ASSERT_EQ(highlights.size(), 20u);
    EXPECT_EQ(highlights.back().key.verse, "20");
    EXPECT_EQ(highlights.back().colour, 20 % 5 + 1);
    BookmarkStore bookmarks(file());
    ASSERT_EQ(bookmarks.bookmarks().size(), 20u);
    ASSERT_EQ(bookmarks.folders().size(), 1u);
    EXPECT_EQ(bookmarks.folders()[0].name, "홀수");
    EXPECT_EQ(bookmarks.bookmarks().back().name, "19");
}

TEST_F(JournalStoreTest, MarksClearAndPlansForgetTheirMarks) {
    JournalStore store(file());
    store.startPlan("nt-90", {2025, 1, 1});
    store.setDaysRead("nt-90", *findReadingPlan("nt-90"), 85, 200, true);
    const std::size_t read = store.marks("nt-90").size();
    // The last five days, not beyond the plan's end.
    std::size_t expected = 0;
    for (int d = 85; d < 90; ++d)
        expected += findReadingPlan("nt-90")->days[d].readings.size();
    EXPECT_EQ(read, expected);
    store.setRead("nt-90", 89, 0, false);
    EXPECT_FALSE(store.marks("nt-90").count({89, 0}));
    // Moving the start keeps the marks; removing the plan drops them.
    store.startPlan("nt-90", {2025, 2, 1});
    EXPECT_EQ(store.plans().at(0).start, (CivilDate{2025, 2, 1}));
    EXPECT_EQ(store.marks("nt-90").size(), expected - 1);
    store.removePlan("nt-90");
    EXPECT_TRUE(store.plans().empty());
    EXPECT_TRUE(store.marks("nt-90").empty());
}

TEST_F(JournalStoreTest, DiarySearchFindsWordsAsTypedAndEmptyPagesGo) {
    JournalStore store(file());
    store.saveEntry({"2025-01-02", "Grace", "", "", "", "100% 은혜_입니다"});
    store.saveEntry({"2025-01-05", "", "시편 23편", "psa:23:1", "", "목자"});
    EXPECT_EQ(store.entryDates(), (std::vector<std::string>{"2025-01-02", "2025-01-05"}));
    auto dates = [&](const std::string& text) {
        std::vector<std::string> found;
        for (const DiaryEntry& e : store.search(text))
            found.push_back(e.date);
        return found;
    };
    EXPECT_EQ(dates("grace"), std::vector<std::string>{"2025-01-02"});
    EXPECT_EQ(dates("시편"), std::vector<std::string>{"2025-01-05"});
    EXPECT_EQ(dates("0% 은"), std::vector<std::string>{"2025-01-02"});
    EXPECT_TRUE(dates("%").size() == 1 && dates("_").size() == 1); // not wild cards
    EXPECT_TRUE(dates("목자 은혜").empty());
    store.saveEntry({"2025-01-05", "", "", "", "", ""});
    EXPECT_EQ(store.entryDates(), std::vector<std::string>{"2025-01-02"});
}

TEST_F(JournalStoreTest, ExportAndImportRoundTripAndMergeTwiceChangesNothing) {
    JournalStore source(file("a.mdb"));
    source.startPlan("mcheyne", {2024, 12, 31});
    source.setDaysRead("mcheyne", *findReadingPlan("mcheyne"), 0, 2, true, {2025, 1, 2});
    source.saveEntry(awkwardEntry());
    source.saveEntry({"2025-01-01", "새해", "창세기 1장", "gen:1:1", "", "빛이 있으라"});
    std::stringstream exported;
    writeJournalFile(exported, source.all());

    JournalStore target(this->file("b.mdb"));
    target.saveEntry({"2025-01-01", "", "", "", "", "먼저 쓴 글"});
    const JournalData read = readJournalFile(exported);
    EXPECT_GT(target.merge(read), 0);
    EXPECT_EQ(target.merge(read), 0);

    const JournalData merged = target.all();
    EXPECT_EQ(merged.plans, source.all().plans);
    EXPECT_EQ(merged.marks, source.all().marks);
    EXPECT_EQ(target.entry("2024-02-29"), awkwardEntry());
    // A day written on both sides keeps both texts.
    const DiaryEntry joined = *target.entry("2025-01-01");
    EXPECT_EQ(joined.body, "먼저 쓴 글\n----------\n빛이 있으라");
    EXPECT_EQ(joined.title, "새해");
}

TEST_F(JournalStoreTest, AFaultyFileIsRefusedWithItsLineBeforeAnythingIsRead) {
    const char* faulty[] = {
        "# QEL reading plans and diary "
        "1\nplan\tmcheyne\t2025-01-01\nread\tmcheyne\tx\t0\t2025-01-01\n",
        "plan\tmcheyne\t2025-02-30\n",
        "diary\t2025-01-01\ttitle\n",
        "note\tVRA\n",
    };
    const char* lines[] = {"line 3", "line 1", "line 1", "line 1"};
    for (std::size_t i = 0; i < std::size(faulty); ++i) {
        std::istringstream in(faulty[i]);
        try {
            readJournalFile(in);
            ADD_FAILURE() << faulty[i];
        } catch (const JournalFileError& e) {
            EXPECT_NE(std::string(e.what()).find(lines[i]), std::string::npos) << e.what();
        }
    }
}
