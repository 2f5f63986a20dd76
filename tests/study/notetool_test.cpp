// qel-mkdb carries notes, highlights, bookmarks, reading plans and the diary out to files and
// merges them back in.
#include "companion/journalstore.h"
#include "companion/readingplan.h"
#include "study/bookmarkstore.h"
#include "study/highlightstore.h"
#include "study/notestore.h"

#include "../support/files.h"
#include "../support/tempdir.h"

#include <QProcess>
#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

int runMkdb(const char* option, const std::string& file, const std::string& notes) {
    QProcess tool;
    tool.start(QStringLiteral(QEL_BUILD_DIR "/qel-mkdb"),
               {QString::fromLatin1(option), QString::fromStdString(file),
                QStringLiteral("--notes"), QString::fromStdString(notes)});
    if (!tool.waitForFinished(60000))
        return -1;
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

std::vector<std::string> notesOf(const std::string& file) {
    std::vector<std::string> notes;
    for (const Note& n : NoteStore(file).all())
        notes.push_back(n.key.version + n.key.book + n.key.chapter + ":" + n.key.verse + " " +
                        n.text);
    return notes;
}

} // namespace

TEST(NoteTool, ExportThenImportGivesTheSameDataAndASecondImportChangesNothing) {
    TempDir dir;
    const std::string source = dir.str() + "/Study.mdb", copy = dir.str() + "/Copy.mdb",
                      csv = dir.str() + "/notes.csv", journal = dir.str() + "/journal.tsv";
    const std::string longKorean = repeated("말", 4096);
    {
        NoteStore store(source);
        store.save({"VRA", "1co", "13", "4"},
                   "사랑은 길이 견디며\r\n너그러우며, \"샘을 내지\" 아니하며");
        store.save({"GNB", "gen", "1", "1"}, longKorean);
        HighlightStore(source).apply({"VRA", "1co", "13", "4"}, 2, 7, 3);
        BookmarkStore bookmarks(source);
        bookmarks.add(bookmarks.folder("' OR '1'='1"), longKorean, "BVRA1co013004");
        bookmarks.folder("빈 폴더");
        JournalStore plans(source);
        plans.startPlan("mcheyne", {2024, 12, 31});
        plans.setDaysRead("mcheyne", *findReadingPlan("mcheyne"), 0, 1, true, {2025, 1, 1});
        plans.saveEntry({"2025-01-01", "새해", "", "", "", "줄\n바꿈\t탭"});
    }
    ASSERT_EQ(runMkdb("--export-notes", csv, source), 0);
    ASSERT_EQ(runMkdb("--export-journal", journal, source), 0);

    const std::vector<std::string> notes = notesOf(source);
    const std::vector<Highlight> marks = HighlightStore(source).all();
    const std::vector<BookmarkEntry> entries = BookmarkStore(source).entries();
    const JournalData days = JournalStore(source).all();
    EXPECT_EQ(
        (std::vector<std::size_t>{notes.size(), marks.size(), entries.size(), days.marks.size()}),
        (std::vector<std::size_t>{2, 1, 2, 8}));
    const auto expectSame = [&](const std::string& file) {
        SCOPED_TRACE(file);
        EXPECT_EQ(notesOf(file), notes);
        EXPECT_EQ(HighlightStore(file).all(), marks);
        EXPECT_EQ(BookmarkStore(file).entries(), entries);
        const JournalData read = JournalStore(file).all();
        EXPECT_EQ(read.plans, days.plans);
        EXPECT_EQ(read.marks, days.marks);
        EXPECT_EQ(read.entries, days.entries);
    };
    // Into a new file, then once more into both.
    for (const std::string& target : {copy, source, copy}) {
        ASSERT_EQ(runMkdb("--import-notes", csv, target), 0);
        ASSERT_EQ(runMkdb("--import-journal", journal, target), 0);
        expectSame(target);
    }

    // A faulty file fails the import before any note changes.
    std::ofstream(dir.str() + "/bad.csv") << "version,book,chapter,verse,note\r\nVRA,gen\r\n";
    EXPECT_EQ(runMkdb("--import-notes", dir.str() + "/bad.csv", source), 1);
    expectSame(source);
}
