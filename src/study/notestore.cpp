#include "study/notestore.h"

#include "bible/versiontitles.h"
#include "platform/codec.h"
#include "platform/messagesink.h"
#include "platform/text.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <unistd.h>

namespace qel {
namespace {

constexpr std::string_view kColumns[] = {"VERSION",   "VOLUME",     "CHAPTER",
                                         "SECTION",   "NOTE",       "VERSION_NO",
                                         "VOLUME_NO", "CHAPTER_NO", "SECTION_NO"};

constexpr const char* kWhereKey =
    " where VERSION = ? AND VOLUME = ? AND CHAPTER = ? AND SECTION = ?";

// A NUL byte never reaches the file: it would cut the note short wherever it is read.
std::string withoutNul(std::string_view text) {
    std::string out(text);
    std::erase(out, '\0');
    return out;
}

std::vector<SqlValue> keyValues(const NoteKey& key) {
    return {key.version, key.book, key.chapter, key.verse};
}

// Files already refused in this process: each is copied and reported only once, however
// many windows open it.
std::set<std::string>& refusedFiles() {
    static std::set<std::string> files;
    return files;
}
std::mutex refusedMutex;

bool startsAsDatabase(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[16] = {};
    in.read(header, sizeof header);
    // An empty file is an empty database to SQLite; anything else must say what it is.
    return in.gcount() == 0 || (in.gcount() == 16 && std::string_view(header, 16) ==
                                                         std::string_view("SQLite format 3\0", 16));
}

std::string timestamp() {
    return localTimeText("%Y%m%d-%H%M%S");
}

// A copy beside the file, under a name not yet taken; empty when it could not be made.
std::string copyAside(const std::string& path) {
    namespace fs = std::filesystem;
    const std::string base = path + ".damaged-" + timestamp();
    std::string target = base;
    std::error_code error;
    for (int n = 2; fs::exists(target, error) && n < 100; ++n)
        target = base + "-" + std::to_string(n);
    if (!fs::copy_file(path, target, fs::copy_options::none, error))
        return {};
    return target;
}

// The file's mode lets someone write it: a file the reader made read-only stays so, even for
// an administrator's account.
bool mayWrite(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::perms perms = fs::status(path, error).permissions();
    return !error && (perms & (fs::perms::owner_write | fs::perms::group_write |
                               fs::perms::others_write)) != fs::perms::none;
}

} // namespace

NoteStore::NoteStore(std::string path) : path_(std::move(path)) {
    {
        std::lock_guard lock(refusedMutex);
        if (refusedFiles().count(path_))
            return;
    }
    openChecked();
}

void NoteStore::openChecked() {
    namespace fs = std::filesystem;
    std::error_code error;
    const bool exists = fs::exists(path_, error);
    if (exists && !fs::is_regular_file(path_, error))
        return refuse("not a file", false);
    // Checked before SQLite touches the file, so that the copy is of the file as it was.
    if (exists && !startsAsDatabase(path_))
        return refuse("not a database", true);
    if (!exists)
        fs::create_directories(fs::path(path_).parent_path(), error);
    if (exists && (!mayWrite(path_) || ::access(path_.c_str(), W_OK) != 0))
        return openReadOnly();
    clearStaleLog();
    try {
        db_.open(path_, Database::Mode::Create);
        {
            RecordSet check(db_, "pragma quick_check");
            if (check.isEOF() || check.field("quick_check") != "ok")
                throw DatabaseError("damaged: " +
                                    (check.isEOF() ? std::string() : check.field("quick_check")));
        }
        if (!hasNoteTable()) {
            if (db_.hasTable("tbl_note"))
                throw DatabaseError("tbl_note lacks columns of the note table");
            db_.execute("create table tbl_note (VERSION TEXT, VOLUME TEXT, CHAPTER TEXT, "
                        "SECTION TEXT, NOTE TEXT, VERSION_NO INTEGER, VOLUME_NO INTEGER, "
                        "CHAPTER_NO INTEGER, SECTION_NO INTEGER)");
        }
        // Asked first, so that a file the reader may only read is not written to.
        if (RecordSet(db_, "select name from sqlite_master where type = 'index' and name = "
                           "'tbl_note_key'")
                .isEOF())
            db_.execute(
                "create index tbl_note_key on tbl_note (VERSION, VOLUME, CHAPTER, SECTION)");
        db_.useWriteAheadLog();
    } catch (const DatabaseError& e) {
        db_.close();
        refuse(e.what(), exists);
    }
}

void NoteStore::openReadOnly() {
    // Opened so that nothing is made beside it: log files made now would keep the reader's
    // mode and block writing once he makes the file writable again.
    try {
        db_.open(path_, Database::Mode::Immutable);
        if (!hasNoteTable())
            throw DatabaseError("no note table");
        readOnly_ = true;
    } catch (const DatabaseError& e) {
        db_.close();
        refuse(e.what(), false);
    }
}

void NoteStore::clearStaleLog() {
    // Empty log files that cannot be written were left by a read-only open of the past;
    // they hold nothing and would make every save fail.
    namespace fs = std::filesystem;
    const std::string wal = path_ + "-wal", shm = path_ + "-shm";
    std::error_code error;
    if (fs::exists(wal, error) && fs::file_size(wal, error) == 0 &&
        (!mayWrite(wal) || ::access(wal.c_str(), W_OK) != 0)) {
        fs::remove(wal, error);
        fs::remove(shm, error);
    }
}

bool NoteStore::hasNoteTable() {
    for (std::string_view column : kColumns)
        if (!db_.hasColumn("tbl_note", column))
            return false;
    return true;
}

void NoteStore::refuse(const std::string& reason, bool damaged) {
    {
        std::lock_guard lock(refusedMutex);
        if (!refusedFiles().insert(path_).second)
            return;
    }
    logWarning(path_ + ": " + reason);
    std::string text = utf8ToCp949("사용자 노트 파일을 열 수 없습니다.\n") + utf8ToCp949(path_);
    if (damaged) {
        const std::string copy = copyAside(path_);
        text += copy.empty() ? utf8ToCp949("\n파일은 건드리지 않았으나, 사본을 만들지 못했습니다.")
                             : utf8ToCp949("\n파일은 그대로 두고, 사본을 만들어 두었습니다.\n") +
                                   utf8ToCp949(copy);
    }
    text += utf8ToCp949("\n노트 없이 계속합니다.");
    showMessage(text, utf8ToCp949("사용자 노트"));
}

std::optional<std::string> NoteStore::load(const NoteKey& key) {
    RecordSet rs(db_, std::string("select NOTE from tbl_note") + kWhereKey, keyValues(key));
    if (rs.isEOF())
        return std::nullopt;
    return rs.text("NOTE");
}

NoteStore::Change NoteStore::save(const NoteKey& key, std::string_view text) {
    Transaction transaction(db_);
    const Change change = writeRow(key, text);
    transaction.commit();
    return change;
}

NoteStore::Change NoteStore::writeRow(const NoteKey& key, std::string_view text) {
    bool exists = false;
    {
        RecordSet rs(db_, std::string("select count(*) as n from tbl_note") + kWhereKey,
                     keyValues(key));
        exists = rs.field("n") != "0";
    }
    Change change = Change::None;
    if (!text.empty()) {
        exists ? updateRow(key, text) : insertRow(key, text);
        change = exists ? Change::Updated : Change::Inserted;
    } else if (exists) {
        db_.execute(std::string("delete from tbl_note") + kWhereKey, keyValues(key));
        change = Change::Deleted;
    }
    return change;
}

std::optional<std::string> NoteStore::saveOver(const NoteKey& key,
                                               const std::optional<std::string>& loaded,
                                               std::string_view text) {
    Transaction transaction(db_);
    const std::optional<std::string> stored = load(key);
    if (stored == loaded || !stored) {
        writeRow(key, text);
        transaction.commit();
        return std::nullopt;
    }
    std::string both = *stored;
    if (!text.empty() && stored->find(text) == std::string::npos)
        both += std::string(kMergeSeparator) + std::string(text);
    updateRow(key, both);
    transaction.commit();
    return both;
}

void NoteStore::insertRow(const NoteKey& key, std::string_view text) {
    db_.execute("insert into tbl_note (VERSION, VERSION_NO, VOLUME, VOLUME_NO, CHAPTER, "
                "CHAPTER_NO, SECTION, SECTION_NO, NOTE) values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {key.version, static_cast<long long>(noteVersionIndex(key.version)), key.book,
                 static_cast<long long>(bookNumber(key.book)), key.chapter,
                 static_cast<long long>(atoiText(key.chapter)), key.verse,
                 static_cast<long long>(atoiText(key.verse)), withoutNul(text)});
}

void NoteStore::updateRow(const NoteKey& key, std::string_view text) {
    std::vector<SqlValue> values{withoutNul(text)};
    for (SqlValue& v : keyValues(key))
        values.push_back(std::move(v));
    db_.execute(std::string("update tbl_note set NOTE = ?") + kWhereKey, values);
}

std::vector<Note> NoteStore::all() {
    std::vector<Note> notes;
    RecordSet rs(db_, "select VERSION, VOLUME, CHAPTER, SECTION, NOTE from tbl_note order by "
                      "VERSION_NO, VOLUME_NO, CHAPTER_NO, SECTION_NO, rowid");
    for (; !rs.isEOF(); rs.moveNext())
        notes.push_back(
            {{rs.field("VERSION"), rs.field("VOLUME"), rs.field("CHAPTER"), rs.field("SECTION")},
             rs.text("NOTE")});
    return notes;
}

void openBesideNotes(Database& db, const std::string& path,
                     const std::function<void(Database&)>& prepare, const BesideNotesWords& words) {
    if (!NoteStore(path).isOpen())
        return;
    try {
        db.open(path, Database::Mode::ReadWrite);
        prepare(db);
        db.useWriteAheadLog();
    } catch (const DatabaseError& e) {
        db.close();
        {
            static std::set<std::string> reported;
            static std::mutex reportedMutex;
            std::lock_guard lock(reportedMutex);
            if (!reported.insert(path + '\n' + std::string(words.logName)).second)
                return;
        }
        logWarning(path + ": " + std::string(words.logName) + ": " + e.what());
        showMessage(utf8ToCp949(std::string(words.cannot) + "\n" + path + "\n파일은 그대로 두고, " +
                                std::string(words.goingOn)),
                    utf8ToCp949(words.title));
    }
}

int NoteStore::merge(const std::vector<Note>& notes) {
    Transaction transaction(db_);
    int changed = 0;
    for (const Note& note : notes) {
        const std::string incoming = withoutNul(note.text);
        if (incoming.empty())
            continue;
        std::optional<std::string> old = load(note.key);
        if (old && old->find(incoming) != std::string::npos)
            continue;
        const std::string text = old ? *old + std::string(kMergeSeparator) + incoming : incoming;
        old ? updateRow(note.key, text) : insertRow(note.key, text);
        ++changed;
    }
    transaction.commit();
    return changed;
}

} // namespace qel
