#pragma once

#include "platform/database.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

// A folder of bookmarks. Folder 0 is the top level: bookmarks kept outside any folder.
struct BookmarkFolder {
    long long id = 0;
    std::string name;
    int order = 0;
    bool operator==(const BookmarkFolder&) const = default;
};

// A named place: any command key the main window opens ("BVRAjhn003016", "I…", "M…").
// Names are UTF-8, as the reader typed them.
struct Bookmark {
    long long id = 0;
    long long folder = 0;
    std::string name;
    std::string key;
    int order = 0;
    bool operator==(const Bookmark&) const = default;
};

// What a removal took away, for putting it back.
struct BookmarkRemoval {
    std::optional<BookmarkFolder> folder;
    std::vector<Bookmark> bookmarks;
    bool empty() const { return !folder && bookmarks.empty(); }
};

// A bookmark as it travels between installations: its folder by name (empty for the top
// level). A folder without bookmarks travels as a row without name and key.
struct BookmarkEntry {
    std::string folder, name, key;
    bool operator==(const BookmarkEntry&) const = default;
};

// The reader's bookmarks in "Study.mdb", tables `tbl_bookmark_folder` and `tbl_bookmark`,
// kept as the notes are: every value bound, one transaction per change, write-ahead logging
// and a busy timeout; a file the notes refuse is refused here too. Every change throws
// DatabaseError when it cannot be written, and nothing is written then.
class BookmarkStore {
public:
    explicit BookmarkStore(std::string path);

    bool isOpen() const { return db_.isOpen(); }
    const std::string& path() const { return path_; }

    // Folders in their order, without the top level.
    std::vector<BookmarkFolder> folders();
    // Every bookmark, by folder (the top level first) and order.
    std::vector<Bookmark> bookmarks();

    // The folder of that name, made at the end when there is none; "" is the top level.
    long long folder(std::string_view name);
    // A new bookmark at the end of a folder; an empty name takes the key. Returns its id.
    long long add(long long folder, std::string_view name, std::string_view key);
    // False for an empty name, a missing row, or a folder name another folder has.
    bool rename(long long id, std::string_view name);
    bool renameFolder(long long id, std::string_view name);
    // Puts a bookmark into a folder before the one at `position` of that folder (past its
    // end: last). False when the bookmark or the folder is gone.
    bool move(long long id, long long folder, int position);
    // Removes a bookmark, or a folder with its bookmarks.
    BookmarkRemoval remove(long long id);
    BookmarkRemoval removeFolder(long long id);
    // Puts removed rows back with their ids and places.
    void restore(const BookmarkRemoval& removal);

    // Every folder and bookmark as entries, in order; empty folders as rows without a key.
    std::vector<BookmarkEntry> entries();
    // Adds entries from elsewhere in one transaction: a bookmark whose folder already holds
    // one of that name and key is left alone, so that importing a file twice changes
    // nothing. Returns how many folders and bookmarks were made.
    int merge(const std::vector<BookmarkEntry>& entries);

private:
    void openTables();
    long long folderRow(std::string_view name, bool& made);
    bool folderExists(long long id);
    int nextOrder(const char* table, const char* where, const std::vector<SqlValue>& values);
    long long insertBookmark(long long folder, std::string_view name, std::string_view key);
    std::vector<Bookmark> readBookmarks(std::string_view where,
                                        const std::vector<SqlValue>& values);

    std::string path_;
    Database db_;
};

} // namespace qel
