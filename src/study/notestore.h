#pragma once

#include "platform/database.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

// The place a note belongs to, as the Bible window holds it: version code, book code,
// chapter and verse labels (CP949, in practice ASCII).
struct NoteKey {
    std::string version, book, chapter, verse;
    bool operator==(const NoteKey&) const = default;
    bool complete() const {
        return !version.empty() && !book.empty() && !chapter.empty() && !verse.empty();
    }
};

// A stored note. The text is UTF-8 with lines ended by CR LF: the reader's own words are
// kept as typed, whatever the code page of the Bible text can hold.
struct Note {
    NoteKey key;
    std::string text;
};

// The reader's notes in "Study.mdb", table `tbl_note`. Each store holds its own
// connection; write-ahead logging and a busy timeout let several share the file.
// A file that cannot serve as the note database is never written to: it is copied aside
// once, reported once, and the store stays closed, so the reader goes on without notes.
class NoteStore {
public:
    explicit NoteStore(std::string path);

    bool isOpen() const { return db_.isOpen(); }
    // The file may only be read (its mode says so): notes are shown but not written.
    bool isReadOnly() const { return readOnly_; }
    const std::string& path() const { return path_; }

    // The note of a place, or nothing. Throws DatabaseError.
    std::optional<std::string> load(const NoteKey& key);

    enum class Change { None, Inserted, Updated, Deleted };
    // Writes a note in one transaction: a new row with its sort numbers, a changed text, or
    // (empty text) the row deleted. Throws DatabaseError; nothing is written then.
    Change save(const NoteKey& key, std::string_view text);
    // Writes a note over the text it was edited from (`loaded`, nothing for a new note).
    // When the stored note changed in the meantime (another program wrote it) neither text
    // is lost: the stored one stays and `text` follows it after the separator line, as a
    // merge does. Returns the text now stored in that case, else nothing. Throws
    // DatabaseError; nothing is written then.
    std::optional<std::string>
    saveOver(const NoteKey& key, const std::optional<std::string>& loaded, std::string_view text);

    // Every note, in the order of the note list: version, book, chapter and verse numbers.
    std::vector<Note> all();

    // Adds notes from elsewhere in one transaction. A place without a note takes the text;
    // a note with another text keeps it and gets the new text after a separator line
    // (unless it holds that text already, so that importing a file twice changes nothing).
    // Returns how many notes changed. Throws DatabaseError; nothing is written then.
    int merge(const std::vector<Note>& notes);

private:
    void openChecked();
    void openReadOnly();
    void clearStaleLog();
    void refuse(const std::string& reason, bool damaged);
    bool hasNoteTable();
    Change writeRow(const NoteKey& key, std::string_view text);
    void insertRow(const NoteKey& key, std::string_view text);
    void updateRow(const NoteKey& key, std::string_view text);

    std::string path_;
    Database db_;
    bool readOnly_ = false;
};

// How a table kept beside the notes names itself when the file will not take it (UTF-8).
struct BesideNotesWords {
    std::string_view logName; // "highlights"
    std::string_view cannot;  // "형광펜을 저장할 수 없습니다."
    std::string_view goingOn; // "형광펜 없이 계속합니다."
    std::string_view title;   // "형광펜"
};

// Opens `db` on a note file for tables of another kind kept beside the notes. The note store
// checks the file first (a damaged one is copied aside and reported there, a read-only one is
// never written); `prepare` then makes the tables that are missing. A file that will not take
// them is reported once per kind with `words`, and `db` stays closed: the program goes on
// without that kind.
void openBesideNotes(Database& db, const std::string& path,
                     const std::function<void(Database&)>& prepare, const BesideNotesWords& words);

// The line that joins two texts of one place when notes are merged.
inline constexpr std::string_view kMergeSeparator = "\r\n----------\r\n";

} // namespace qel
