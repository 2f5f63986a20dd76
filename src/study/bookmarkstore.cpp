#include "study/bookmarkstore.h"

#include "platform/text.h"
#include "study/notestore.h"

#include <algorithm>
#include <cstdlib>

namespace qel {
namespace {

// A NUL byte never reaches the file: it would cut the name short wherever it is read.
std::string clean(std::string_view text) {
    std::string out(text);
    std::erase(out, '\0');
    return out;
}

long long lastRow(Database& db) {
    RecordSet rs(db, "select last_insert_rowid() as id");
    return std::stoll(rs.field("id"));
}

} // namespace

BookmarkStore::BookmarkStore(std::string path) : path_(std::move(path)) {
    openBesideNotes(
        db_, path_, [this](Database&) { openTables(); },
        {"bookmarks", "책갈피를 저장할 수 없습니다.", "책갈피 없이 계속합니다.", "책갈피"});
}

void BookmarkStore::openTables() {
    // Asked first, so that a file the reader may only read is not written to.
    if (db_.hasColumn("tbl_bookmark", "COMMAND_KEY") &&
        db_.hasColumn("tbl_bookmark_folder", "SORT_NO"))
        return;
    Transaction transaction(db_);
    // Ids are never given twice, so that a removal can be put back under its own.
    db_.execute("create table if not exists tbl_bookmark_folder (ID INTEGER PRIMARY KEY "
                "AUTOINCREMENT, NAME TEXT, SORT_NO INTEGER)");
    db_.execute("create table if not exists tbl_bookmark (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                "FOLDER_ID INTEGER, NAME TEXT, COMMAND_KEY TEXT, SORT_NO INTEGER)");
    db_.execute("create index if not exists tbl_bookmark_folder_id on tbl_bookmark (FOLDER_ID)");
    transaction.commit();
}

std::vector<BookmarkFolder> BookmarkStore::folders() {
    std::vector<BookmarkFolder> rows;
    RecordSet rs(db_, "select ID, NAME, SORT_NO from tbl_bookmark_folder order by SORT_NO, ID");
    for (; !rs.isEOF(); rs.moveNext())
        rows.push_back(
            {std::stoll(rs.field("ID")), rs.text("NAME"), atoiText(rs.field("SORT_NO"))});
    return rows;
}

std::vector<Bookmark> BookmarkStore::readBookmarks(std::string_view where,
                                                   const std::vector<SqlValue>& values) {
    std::vector<Bookmark> rows;
    RecordSet rs(db_,
                 "select b.ID, b.FOLDER_ID, b.NAME, b.COMMAND_KEY, b.SORT_NO from tbl_bookmark b "
                 "left join tbl_bookmark_folder f on f.ID = b.FOLDER_ID " +
                     std::string(where) +
                     " order by b.FOLDER_ID <> 0, f.SORT_NO, b.FOLDER_ID, b.SORT_NO, b.ID",
                 values);
    for (; !rs.isEOF(); rs.moveNext())
        // A row without a folder (edited by hand) is at the top level.
        rows.push_back({std::stoll(rs.field("ID")), std::atoll(rs.field("FOLDER_ID").c_str()),
                        rs.text("NAME"), rs.text("COMMAND_KEY"), atoiText(rs.field("SORT_NO"))});
    return rows;
}

std::vector<Bookmark> BookmarkStore::bookmarks() {
    return readBookmarks("", {});
}

int BookmarkStore::nextOrder(const char* table, const char* where,
                             const std::vector<SqlValue>& values) {
    RecordSet rs(db_,
                 std::string("select coalesce(max(SORT_NO), -1) + 1 as n from ") + table + where,
                 values);
    return atoiText(rs.field("n"));
}

bool BookmarkStore::folderExists(long long id) {
    return id == 0 ||
           !RecordSet(db_, "select ID from tbl_bookmark_folder where ID = ?", {id}).isEOF();
}

long long BookmarkStore::folderRow(std::string_view name, bool& made) {
    made = false;
    const std::string text = clean(name);
    if (text.empty())
        return 0;
    {
        RecordSet rs(db_, "select ID from tbl_bookmark_folder where NAME = ? order by ID", {text});
        if (!rs.isEOF())
            return std::stoll(rs.field("ID"));
    }
    const long long order = nextOrder("tbl_bookmark_folder", "", {});
    db_.execute("insert into tbl_bookmark_folder (NAME, SORT_NO) values (?, ?)", {text, order});
    made = true;
    return lastRow(db_);
}

long long BookmarkStore::folder(std::string_view name) {
    Transaction transaction(db_);
    bool made = false;
    const long long id = folderRow(name, made);
    transaction.commit();
    return id;
}

long long BookmarkStore::insertBookmark(long long folder, std::string_view name,
                                        std::string_view key) {
    const std::string text = clean(name.empty() ? key : name);
    const long long order = nextOrder("tbl_bookmark", " where FOLDER_ID = ?", {folder});
    db_.execute("insert into tbl_bookmark (FOLDER_ID, NAME, COMMAND_KEY, SORT_NO) values "
                "(?, ?, ?, ?)",
                {folder, text, clean(key), order});
    return lastRow(db_);
}

long long BookmarkStore::add(long long folder, std::string_view name, std::string_view key) {
    Transaction transaction(db_);
    if (!folderExists(folder))
        folder = 0;
    const long long id = insertBookmark(folder, name, key);
    transaction.commit();
    return id;
}

bool BookmarkStore::rename(long long id, std::string_view name) {
    const std::string text = clean(name);
    if (text.empty())
        return false;
    Transaction transaction(db_);
    if (RecordSet(db_, "select ID from tbl_bookmark where ID = ?", {id}).isEOF())
        return false;
    db_.execute("update tbl_bookmark set NAME = ? where ID = ?", {text, id});
    transaction.commit();
    return true;
}

bool BookmarkStore::renameFolder(long long id, std::string_view name) {
    const std::string text = clean(name);
    if (text.empty() || id == 0)
        return false;
    Transaction transaction(db_);
    if (!folderExists(id) ||
        !RecordSet(db_, "select ID from tbl_bookmark_folder where NAME = ? and ID <> ?", {text, id})
             .isEOF())
        return false;
    db_.execute("update tbl_bookmark_folder set NAME = ? where ID = ?", {text, id});
    transaction.commit();
    return true;
}

bool BookmarkStore::move(long long id, long long folder, int position) {
    Transaction transaction(db_);
    if (!folderExists(folder))
        return false;
    std::vector<Bookmark> moved = readBookmarks("where b.ID = ?", {id});
    if (moved.empty())
        return false;
    std::vector<Bookmark> rows = readBookmarks("where b.FOLDER_ID = ? and b.ID <> ?", {folder, id});
    position = std::clamp(position, 0, static_cast<int>(rows.size()));
    rows.insert(rows.begin() + position, moved.front());
    // Numbered afresh, so that the order is the one shown whatever it was before.
    for (std::size_t i = 0; i < rows.size(); ++i)
        db_.execute("update tbl_bookmark set FOLDER_ID = ?, SORT_NO = ? where ID = ?",
                    {folder, static_cast<long long>(i), rows[i].id});
    transaction.commit();
    return true;
}

BookmarkRemoval BookmarkStore::remove(long long id) {
    Transaction transaction(db_);
    BookmarkRemoval removal;
    removal.bookmarks = readBookmarks("where b.ID = ?", {id});
    db_.execute("delete from tbl_bookmark where ID = ?", {id});
    transaction.commit();
    return removal;
}

BookmarkRemoval BookmarkStore::removeFolder(long long id) {
    Transaction transaction(db_);
    BookmarkRemoval removal;
    for (const BookmarkFolder& f : folders())
        if (f.id == id)
            removal.folder = f;
    if (!removal.folder)
        return {};
    removal.bookmarks = readBookmarks("where b.FOLDER_ID = ?", {id});
    db_.execute("delete from tbl_bookmark where FOLDER_ID = ?", {id});
    db_.execute("delete from tbl_bookmark_folder where ID = ?", {id});
    transaction.commit();
    return removal;
}

void BookmarkStore::restore(const BookmarkRemoval& removal) {
    Transaction transaction(db_);
    if (removal.folder)
        db_.execute("insert or replace into tbl_bookmark_folder (ID, NAME, SORT_NO) values "
                    "(?, ?, ?)",
                    {removal.folder->id, removal.folder->name,
                     static_cast<long long>(removal.folder->order)});
    for (const Bookmark& b : removal.bookmarks) {
        // A folder removed since goes back to the top level with its bookmark.
        const long long folder = folderExists(b.folder) ? b.folder : 0;
        db_.execute("insert or replace into tbl_bookmark (ID, FOLDER_ID, NAME, COMMAND_KEY, "
                    "SORT_NO) values (?, ?, ?, ?, ?)",
                    {b.id, folder, b.name, b.key, static_cast<long long>(b.order)});
    }
    transaction.commit();
}

std::vector<BookmarkEntry> BookmarkStore::entries() {
    std::vector<BookmarkEntry> rows;
    const std::vector<Bookmark> all = bookmarks();
    const auto in = [&](long long folder, const std::string& name) {
        bool any = false;
        for (const Bookmark& b : all)
            if (b.folder == folder) {
                rows.push_back({name, b.name, b.key});
                any = true;
            }
        if (!any && folder != 0)
            rows.push_back({name, {}, {}});
    };
    in(0, {});
    for (const BookmarkFolder& f : folders())
        in(f.id, f.name);
    return rows;
}

int BookmarkStore::merge(const std::vector<BookmarkEntry>& entries) {
    Transaction transaction(db_);
    int changed = 0;
    for (const BookmarkEntry& entry : entries) {
        bool made = false;
        const long long folder = folderRow(entry.folder, made);
        changed += made ? 1 : 0;
        if (entry.key.empty())
            continue;
        const std::string name = clean(entry.name.empty() ? entry.key : entry.name);
        if (!RecordSet(db_,
                       "select ID from tbl_bookmark where FOLDER_ID = ? and NAME = ? and "
                       "COMMAND_KEY = ?",
                       {folder, name, clean(entry.key)})
                 .isEOF())
            continue;
        insertBookmark(folder, name, entry.key);
        ++changed;
    }
    transaction.commit();
    return changed;
}

} // namespace qel
