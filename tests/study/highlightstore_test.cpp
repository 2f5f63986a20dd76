#include "study/bookmarkstore.h"
#include "study/highlightstore.h"

#include "../support/busytimeout.h"
#include "../support/files.h"
#include "../support/shownmessages.h"
#include "../support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace qel;

namespace {

class HighlightStoreTest : public ::testing::Test {
protected:
    std::string file() const { return (dir.path() / "Study.mdb").string(); }
    // "start-end:colour" of each highlight of a verse.
    static std::string spans(HighlightStore& store, const NoteKey& key) {
        std::string text;
        for (const Highlight& h : store.chapter(key.version, key.book, key.chapter))
            if (h.key == key)
                text += std::to_string(h.start) + "-" + std::to_string(h.end) + ":" +
                        std::to_string(h.colour) + " ";
        return text;
    }

    TempDir dir;
    const NoteKey verse{"KJV", "psa", "119", "105"};
    ShownMessages messages;
};

} // namespace

TEST_F(HighlightStoreTest, ANewColourCutsBackWhatItOverlapsAndErasingSplitsASpan) {
    HighlightStore store(file());
    ASSERT_TRUE(store.isOpen());
    EXPECT_TRUE(store.apply(verse, 0, 20, 1));
    EXPECT_TRUE(store.apply(verse, 5, 10, 2));
    EXPECT_EQ(spans(store, verse), "0-5:1 5-10:2 10-20:1 ");
    EXPECT_FALSE(store.apply(verse, 5, 10, 2)); // already so
    EXPECT_TRUE(store.apply(verse, 8, 15, 0));
    EXPECT_EQ(spans(store, verse), "0-5:1 5-8:2 15-20:1 ");
    EXPECT_TRUE(store.apply(verse, 0, kWholeVerse, 3));
    EXPECT_EQ(spans(store, verse), "0-1073741824:3 ");
    EXPECT_FALSE(store.apply(verse, 7, 7, 4)); // empty span
    EXPECT_FALSE(store.apply(verse, 0, 4, 6)); // no such colour
    // Another verse of the chapter is its own.
    const NoteKey next{"KJV", "psa", "119", "106"};
    store.apply(next, 2, 4, 5);
    EXPECT_EQ(spans(store, verse), "0-1073741824:3 ");
    EXPECT_EQ(store.chapter("KJV", "psa", "119").size(), 2u);
    EXPECT_TRUE(store.chapter("KJV", "psa", "120").empty());
}

TEST_F(HighlightStoreTest, QuotesInjectionAndLongKoreanKeysAndNamesAreStoredAsGiven) {
    const std::string korean = repeated("말", 4096);
    const std::vector<std::string> values{"it's", "' OR '1'='1", korean};
    {
        HighlightStore store(file());
        BookmarkStore bookmarks(file());
        for (const std::string& v : values) {
            store.apply({v, v, v, v}, 0, 3, 2);
            bookmarks.add(bookmarks.folder(v), v, "B" + v);
        }
        store.apply(verse, 0, 3, 1);
    }
    HighlightStore store(file()); // after a restart
    ASSERT_EQ(store.all().size(), values.size() + 1);
    for (const std::string& v : values)
        EXPECT_EQ(store.chapter(v, v, v).size(), 1u) << v.substr(0, 12);
    BookmarkStore bookmarks(file());
    std::vector<BookmarkEntry> entries;
    for (const std::string& v : values)
        entries.push_back({v, v, "B" + v});
    EXPECT_EQ(bookmarks.entries(), entries);
    // Erasing and renaming under the injection-shaped key touched no other row.
    store.apply({values[1], values[1], values[1], values[1]}, 0, kWholeVerse, 0);
    EXPECT_EQ(store.all().size(), values.size());
    EXPECT_EQ(spans(store, verse), "0-3:1 ");
    ASSERT_TRUE(bookmarks.rename(bookmarks.bookmarks().at(1).id, "x"));
    entries[1].name = "x";
    EXPECT_EQ(bookmarks.entries(), entries);
}

TEST_F(HighlightStoreTest, AChangeThatCannotWriteThrowsAndLeavesTheRows) {
    const ShortBusyTimeout busy;
    HighlightStore store(file());
    store.apply(verse, 0, 10, 1);
    Database other(file(), Database::Mode::ReadWrite);
    other.execute("begin exclusive");
    EXPECT_THROW(store.apply(verse, 2, 4, 2), DatabaseError);
    other.execute("rollback");
    EXPECT_EQ(spans(store, verse), "0-10:1 ");
}

// Both stores beside the notes take the note store's path for a damaged file.
TEST_F(HighlightStoreTest, AReadOnlyFileIsReportedAndNotWritten) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    {
        NoteStore notes(file());
        (void)notes.save(verse, "note");
    }
    std::filesystem::permissions(file(), std::filesystem::perms::owner_read);
    const std::string before = fileBytes(file());
    HighlightStore store(file());
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(fileBytes(file()), before);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("형광펜 없이 계속합니다."), std::string::npos);
}

TEST_F(HighlightStoreTest, MergeColoursNewSpansAndIsQuietTheSecondTime) {
    HighlightStore store(file());
    store.apply(verse, 0, 10, 1);
    const std::vector<Highlight> incoming{{verse, 0, 10, 1},
                                          {verse, 12, 14, 3},
                                          {{"KJV", "jhn", "3", "16"}, 0, kWholeVerse, 5},
                                          {{"KJV", "jhn", "3", "17"}, 0, 4, 0}};
    EXPECT_EQ(store.merge(incoming), 2);
    EXPECT_EQ(store.merge(incoming), 0);
    EXPECT_EQ(spans(store, verse), "0-10:1 12-14:3 ");
    EXPECT_EQ(store.all().size(), 3u);
}
