#include "study/bookmarkstore.h"

#include "../support/tempdir.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace qel;

namespace {

class BookmarkStoreTest : public ::testing::Test {
protected:
    std::string file() const { return (dir.path() / "Study.mdb").string(); }
    // "folder/name=key" of every row, in the order shown, empty folders as "folder/".
    static std::string tree(BookmarkStore& store) {
        std::string text;
        for (const BookmarkEntry& e : store.entries())
            text += e.folder + "/" + e.name + (e.key.empty() ? "" : "=" + e.key) + " ";
        return text;
    }

    TempDir dir;
};

} // namespace

TEST_F(BookmarkStoreTest, FoldersMovesAndRenamesSurviveARestart) {
    {
        BookmarkStore store(file());
        ASSERT_TRUE(store.isOpen());
        const long long psalms = store.folder("시편");
        const long long gospels = store.folder("복음서");
        EXPECT_EQ(store.folder("시편"), psalms); // one folder per name
        const long long a = store.add(psalms, "등불", "BKJVpsa119105");
        const long long b = store.add(gospels, "", "BVRAjhn003016");
        const long long c = store.add(0, "지도", "Mf0101");
        store.add(psalms, "목자", "BVRApsa023001");
        EXPECT_EQ(tree(store), "/지도=Mf0101 시편/등불=BKJVpsa119105 시편/목자=BVRApsa023001 "
                               "복음서/BVRAjhn003016=BVRAjhn003016 ");
        // Into another folder before its first row, then to the end of the top level.
        EXPECT_TRUE(store.move(a, gospels, 0));
        EXPECT_TRUE(store.move(b, 0, 99));
        EXPECT_TRUE(store.move(c, 0, 1)); // within a folder
        EXPECT_FALSE(store.move(c, 12345, 0));
        EXPECT_TRUE(store.rename(b, "요 3:16"));
        EXPECT_FALSE(store.rename(b, ""));
        EXPECT_TRUE(store.renameFolder(gospels, "요한"));
        EXPECT_FALSE(store.renameFolder(gospels, "시편")); // taken
    }
    BookmarkStore store(file());
    EXPECT_EQ(tree(store), "/요 3:16=BVRAjhn003016 /지도=Mf0101 시편/목자=BVRApsa023001 "
                           "요한/등불=BKJVpsa119105 ");
}

TEST_F(BookmarkStoreTest, UndoPutsRemovedRowsBackInTheirPlacesInAnyOrder) {
    BookmarkStore store(file());
    const long long folder = store.folder("모음");
    const long long a = store.add(folder, "하나", "BVRAgen001001");
    store.add(folder, "둘", "BVRAgen001002");
    store.add(folder, "셋", "BVRAgen001003");
    const long long top = store.add(0, "넷", "BVRAgen001004");
    const std::vector<Bookmark> rows = store.bookmarks();

    const BookmarkRemoval one = store.remove(a);
    const BookmarkRemoval all = store.removeFolder(folder);
    const BookmarkRemoval last = store.remove(top);
    EXPECT_EQ(tree(store), "");
    EXPECT_TRUE(store.remove(top).empty()); // already gone
    store.add(0, "새것", "BVRAexo001001");  // a row made in between keeps its own id
    store.restore(last);
    store.restore(all);
    store.restore(one);
    EXPECT_EQ(tree(store), "/넷=BVRAgen001004 /새것=BVRAexo001001 모음/하나=BVRAgen001001 "
                           "모음/둘=BVRAgen001002 모음/셋=BVRAgen001003 ");
    const std::vector<Bookmark> after = store.bookmarks();
    for (const Bookmark& b : rows) // the same ids, folders and order numbers
        EXPECT_NE(std::find(after.begin(), after.end(), b), after.end()) << b.name;

    // A bookmark whose folder went since comes back at the top level.
    const BookmarkRemoval single = store.remove(a);
    store.removeFolder(folder);
    store.restore(single);
    EXPECT_EQ(store.bookmarks().front().name, "하나");
    EXPECT_EQ(store.bookmarks().front().folder, 0);
}

TEST_F(BookmarkStoreTest, MergeAddsWhatIsMissingAndIsQuietTheSecondTime) {
    BookmarkStore store(file());
    store.add(store.folder("시편"), "등불", "BKJVpsa119105");
    const std::vector<BookmarkEntry> incoming{{"시편", "등불", "BKJVpsa119105"},
                                              {"시편", "목자", "BVRApsa023001"},
                                              {"", "지도", "Mf0101"},
                                              {"빈 폴더", "", ""}};
    EXPECT_EQ(store.merge(incoming), 3);
    EXPECT_EQ(store.merge(incoming), 0);
    EXPECT_EQ(tree(store),
              "/지도=Mf0101 시편/등불=BKJVpsa119105 시편/목자=BVRApsa023001 빈 폴더/ ");
}
