#include "study/bookmarkstore.h"
#include "study/highlightstore.h"
#include "study/notestore.h"

#include "../support/busytimeout.h"
#include "../support/files.h"
#include "../support/shownmessages.h"
#include "../support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

class NoteStoreTest : public ::testing::Test {
protected:
    std::string file(const std::string& name = "Study.mdb") const {
        return (dir.path() / name).string();
    }
    // Files beside the note file whose names start with its name and a suffix.
    std::vector<std::filesystem::path> copiesOf(const std::string& path) const {
        std::vector<std::filesystem::path> copies;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            if (entry.path().string().starts_with(path + ".damaged-"))
                copies.push_back(entry.path());
        return copies;
    }
    // The number columns of a row, read straight from the table.
    std::string numbers(const NoteKey& key) {
        Database db(file(), Database::Mode::ReadOnly);
        RecordSet rs(db,
                     "select VERSION_NO, VOLUME_NO, CHAPTER_NO, SECTION_NO from tbl_note where "
                     "VERSION = ? and VOLUME = ? and CHAPTER = ? and SECTION = ?",
                     {key.version, key.book, key.chapter, key.verse});
        if (rs.isEOF())
            return "none";
        return rs.field("VERSION_NO") + " " + rs.field("VOLUME_NO") + " " + rs.field("CHAPTER_NO") +
               " " + rs.field("SECTION_NO");
    }

    TempDir dir;
    ShownMessages messages;
};

} // namespace

TEST_F(NoteStoreTest, AMissingFileIsCreatedWithTheTableAndTheKeyIndex) {
    const std::string nested = (dir.path() / "share" / "qelbible" / "Study.mdb").string();
    NoteStore store(nested);
    ASSERT_TRUE(store.isOpen());
    Database db(nested, Database::Mode::ReadOnly);
    for (const char* column : {"VERSION", "VOLUME", "CHAPTER", "SECTION", "NOTE", "VERSION_NO",
                               "VOLUME_NO", "CHAPTER_NO", "SECTION_NO"})
        EXPECT_TRUE(db.hasColumn("tbl_note", column)) << column;
    RecordSet index(db, "select sql from sqlite_master where type = 'index' and tbl_name = "
                        "'tbl_note'");
    ASSERT_FALSE(index.isEOF());
    EXPECT_NE(index.field("sql").find("(VERSION, VOLUME, CHAPTER, SECTION)"), std::string::npos);
    RecordSet mode(db, "pragma journal_mode");
    EXPECT_EQ(mode.field("journal_mode"), "wal");
    EXPECT_TRUE(messages.empty());
}

TEST_F(NoteStoreTest, RowsGetTheirSortNumbersAndTheListKeepsTheirOrder) {
    NoteStore store(file());
    const NoteKey corinthians{"VRA", "1co", "13", "4"};
    EXPECT_EQ(store.save(corinthians, "사랑은 길이 견디며"), NoteStore::Change::Inserted);
    EXPECT_EQ(numbers(corinthians), "0 67 13 4");
    const NoteKey gnb{"GNB", "gen", "1", "1"};
    store.save(gnb, "In the beginning");
    EXPECT_EQ(numbers(gnb), "-1 1 1 1");
    store.save({"VRC", "gen", "1", "3-5"}, "VRC comes after VRA");
    store.save({"VRB", "rev", "22", "21"}, "VRB after VRC");
    store.save({"VRA", "tob", "1", "1"}, "deuterocanonical between the testaments");
    store.save({"VRA", "gen", "10", "2"}, "chapters compare as numbers");
    store.save({"VRA", "gen", "9", "2"}, "nine before ten");
    EXPECT_EQ(numbers({"VRA", "tob", "1", "1"}), "0 41 1 1");
    EXPECT_EQ(numbers({"VRC", "gen", "1", "3-5"}), "1 1 1 3");

    std::vector<std::string> order;
    for (const Note& note : store.all())
        order.push_back(note.key.version + " " + note.key.book + " " + note.key.chapter + ":" +
                        note.key.verse);
    EXPECT_EQ(order,
              (std::vector<std::string>{"GNB gen 1:1", "VRA gen 9:2", "VRA gen 10:2", "VRA tob 1:1",
                                        "VRA 1co 13:4", "VRC gen 1:3-5", "VRB rev 22:21"}));
}

TEST_F(NoteStoreTest, ChangedTextUpdatesEmptyTextDeletesAndNothingHappensWithoutARow) {
    NoteStore store(file());
    const NoteKey key{"VRA", "jhn", "3", "16"};
    EXPECT_EQ(store.save(key, ""), NoteStore::Change::None);
    EXPECT_FALSE(store.load(key));
    store.save(key, "first");
    EXPECT_EQ(store.save(key, "second\r\nline"), NoteStore::Change::Updated);
    EXPECT_EQ(store.load(key), "second\r\nline");
    EXPECT_EQ(store.all().size(), 1u);
    EXPECT_EQ(store.save(key, ""), NoteStore::Change::Deleted);
    EXPECT_TRUE(store.all().empty());
}

TEST_F(NoteStoreTest, QuotesAndLongKoreanTextInEveryFieldAreStoredAsGiven) {
    NoteStore store(file());
    const std::vector<std::string> values{"it's", "' OR '1'='1", "\"; drop table tbl_note; --",
                                          repeated("노", 4096)};
    for (const std::string& v : values) {
        const NoteKey key{v, v, v, v};
        store.save(key, v);
        EXPECT_EQ(store.load(key), v);
        // A key that differs only after a quote is another note.
        EXPECT_FALSE(store.load({v, v, v, v + "'"}));
    }
    EXPECT_EQ(store.all().size(), values.size());
    // The injection-shaped key matched nothing else and deleted nothing else.
    store.save({values[1], values[1], values[1], values[1]}, "");
    EXPECT_EQ(store.all().size(), values.size() - 1);
}

TEST_F(NoteStoreTest, ASaveThatCannotWriteThrowsAndLeavesTheRowsAsTheyWere) {
    const ShortBusyTimeout busy;
    NoteStore store(file());
    const NoteKey key{"VRA", "gen", "1", "1"};
    store.save(key, "kept");
    // Another program holds the write lock longer than the busy timeout.
    Database other(file(), Database::Mode::ReadWrite);
    other.execute("begin exclusive");
    EXPECT_THROW(store.save(key, "changed"), DatabaseError);
    EXPECT_THROW(store.save({"VRA", "gen", "1", "2"}, "new"), DatabaseError);
    other.execute("rollback");
    EXPECT_EQ(store.load(key), "kept");
    EXPECT_EQ(store.all().size(), 1u);
    // The store is usable again once the lock is gone.
    EXPECT_EQ(store.save(key, "changed"), NoteStore::Change::Updated);
}

TEST_F(NoteStoreTest, ADamagedFileIsCopiedAsideReportedOnceAndNeverWritten) {
    {
        NoteStore store(file());
        store.save({"VRA", "gen", "1", "1"}, std::string(20000, 'x'));
    }
    // Garbage, and a database cut after its first page: the header is right, the pages gone.
    const std::string cut = fileBytes(file()).substr(0, 4096 + 100);
    for (const std::string& bytes : {std::string(3000, '\x7f') + "not a database", cut}) {
        SCOPED_TRACE(bytes.size());
        const std::string damaged = file(std::to_string(bytes.size()) + ".mdb");
        std::ofstream(damaged, std::ios::binary) << bytes;
        {
            NoteStore first(damaged);
            NoteStore second(damaged); // a second window
            EXPECT_FALSE(first.isOpen());
            EXPECT_FALSE(second.isOpen());
            // The stores kept beside the notes take the same path.
            EXPECT_FALSE(HighlightStore(damaged).isOpen());
            EXPECT_FALSE(BookmarkStore(damaged).isOpen());
        }
        EXPECT_EQ(fileBytes(damaged), bytes);
        const auto copies = copiesOf(damaged);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(fileBytes(copies[0]), bytes);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("사용자 노트 파일을 열 수 없습니다."), std::string::npos);
        EXPECT_NE(messages[0].find(copies[0].string()), std::string::npos);
        EXPECT_NE(messages[0].find("노트 없이 계속합니다."), std::string::npos);
        messages.clear();
    }
    std::filesystem::create_directory(file("Folder.mdb"));
    EXPECT_FALSE(NoteStore(file("Folder.mdb")).isOpen());
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(NoteStoreTest, MergeAddsJoinsDifferentTextsAndIsQuietTheSecondTime) {
    NoteStore store(file());
    const NoteKey same{"VRA", "gen", "1", "1"}, other{"VRA", "gen", "1", "2"},
        fresh{"KJV", "jhn", "3", "16"};
    store.save(same, "same");
    store.save(other, "mine");
    const std::vector<Note> incoming{{same, "same"}, {other, "theirs"}, {fresh, "new"}};
    EXPECT_EQ(store.merge(incoming), 2);
    EXPECT_EQ(store.load(same), "same");
    EXPECT_EQ(store.load(other), "mine" + std::string(kMergeSeparator) + "theirs");
    EXPECT_EQ(store.load(fresh), "new");
    EXPECT_EQ(store.merge(incoming), 0);
    EXPECT_EQ(store.load(other), "mine" + std::string(kMergeSeparator) + "theirs");
}

// A NUL byte, typed or imported, would cut the note short wherever it is read again.
TEST_F(NoteStoreTest, NoNulByteReachesTheFile) {
    NoteStore store(file());
    const NoteKey key{"VRA", "gen", "1", "1"}, merged{"VRA", "gen", "1", "2"};
    store.save(key, std::string("before\0after", 12));
    EXPECT_EQ(store.load(key), "beforeafter");
    const std::vector<Note> incoming{{merged, std::string("a\0b", 3)}};
    EXPECT_EQ(store.merge(incoming), 1);
    EXPECT_EQ(store.merge(incoming), 0);
    EXPECT_EQ(store.load(merged), "ab");
}

// A note file the reader made read-only is read without anything made beside it; log files
// such an open left behind in the past do not keep a writable file from being written.
TEST_F(NoteStoreTest, AReadOnlyFileIsReadWithoutLogFilesAndStaleOnesGo) {
    namespace fs = std::filesystem;
    const NoteKey key{"VRA", "gen", "1", "1"};
    {
        NoteStore store(file());
        store.save(key, "kept");
    }
    fs::remove(file() + "-wal");
    fs::remove(file() + "-shm");
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read);
    {
        NoteStore store(file());
        ASSERT_TRUE(store.isOpen());
        EXPECT_TRUE(store.isReadOnly());
        EXPECT_EQ(store.load(key), "kept");
        EXPECT_FALSE(fs::exists(file() + "-wal"));
        EXPECT_FALSE(fs::exists(file() + "-shm"));
    }
    // What an older open of the read-only file left: empty logs with its mode.
    for (const char* suffix : {"-wal", "-shm"}) {
        std::ofstream(file() + suffix).flush();
        fs::permissions(file() + suffix, fs::perms::owner_read);
    }
    fs::permissions(file(), fs::perms::owner_read | fs::perms::owner_write);
    NoteStore store(file());
    ASSERT_TRUE(store.isOpen());
    EXPECT_FALSE(store.isReadOnly());
    store.save(key, "written again");
    EXPECT_EQ(NoteStore(file()).load(key), "written again");
    EXPECT_TRUE(messages.empty());
}
