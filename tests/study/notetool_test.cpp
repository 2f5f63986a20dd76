// qel-mkdb carries notes, highlights and bookmarks out to CSV files and merges them back in.
#include "study/bookmarkstore.h"
#include "study/highlightstore.h"
#include "study/notestore.h"

#include "../support/tempdir.h"

#include <QProcess>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

int runMkdb(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(QEL_BUILD_DIR "/qel-mkdb"), arguments);
    if (!tool.waitForFinished(60000))
        return -1;
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TEST(NoteTool, ExportThenImportGivesTheSameNotesAndASecondImportChangesNothing) {
    TempDir dir;
    const std::string source = dir.str() + "/Study.mdb", copy = dir.str() + "/Copy.mdb",
                      csv = dir.str() + "/notes.csv";
    std::string longKorean;
    for (int i = 0; i < 4096; ++i)
        longKorean += "말";
    {
        NoteStore store(source);
        store.save({"VRA", "1co", "13", "4"},
                   "사랑은 길이 견디며\r\n너그러우며, \"샘을 내지\" 아니하며");
        store.save({"KJV", "jhn", "3", "16"}, "' OR '1'='1");
        store.save({"GNB", "gen", "1", "1"}, longKorean);
        HighlightStore highlights(source);
        highlights.apply({"VRA", "1co", "13", "4"}, 2, 7, 3);
        highlights.apply({"KJV", "jhn", "3", "16"}, 0, kWholeVerse, 1);
        BookmarkStore bookmarks(source);
        bookmarks.add(bookmarks.folder("' OR '1'='1"), longKorean, "BVRA1co013004");
        bookmarks.add(0, "it's", "Mf0101");
        bookmarks.folder("빈 폴더");
    }
    ASSERT_EQ(runMkdb({"--export-notes", q(csv), "--notes", q(source)}), 0);
    std::ifstream in(csv, std::ios::binary);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header, "version,book,chapter,verse,note,citation\r");
    for (const char* beside : {"/notes-highlights.csv", "/notes-bookmarks.csv"})
        EXPECT_TRUE(std::filesystem::is_regular_file(dir.str() + beside)) << beside;

    ASSERT_EQ(runMkdb({"--import-notes", q(csv), "--notes", q(copy)}), 0);
    const auto same = [](const std::vector<Note>& a, const std::vector<Note>& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!(a[i].key == b[i].key) || a[i].text != b[i].text)
                return false;
        return true;
    };
    const std::vector<Note> original = NoteStore(source).all();
    const std::vector<Highlight> marks = HighlightStore(source).all();
    const std::vector<BookmarkEntry> entries = BookmarkStore(source).entries();
    EXPECT_EQ(original.size(), 3u);
    EXPECT_EQ(marks.size(), 2u);
    EXPECT_EQ(entries.size(), 3u);
    EXPECT_TRUE(same(NoteStore(copy).all(), original));
    EXPECT_EQ(HighlightStore(copy).all(), marks);
    EXPECT_EQ(BookmarkStore(copy).entries(), entries);
    ASSERT_EQ(runMkdb({"--import-notes", q(csv), "--notes", q(source)}), 0);
    ASSERT_EQ(runMkdb({"--import-notes", q(csv), "--notes", q(copy)}), 0);
    EXPECT_TRUE(same(NoteStore(source).all(), original));
    EXPECT_EQ(HighlightStore(source).all(), marks);
    EXPECT_EQ(BookmarkStore(source).entries(), entries);

    // A faulty file fails the import before any note changes.
    std::ofstream(dir.str() + "/bad.csv") << "version,book,chapter,verse,note\r\nVRA,gen\r\n";
    EXPECT_EQ(runMkdb({"--import-notes", q(dir.str() + "/bad.csv"), "--notes", q(source)}), 1);
    EXPECT_TRUE(same(NoteStore(source).all(), original));
}
