#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace qel {

class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Scrambled long-binary form: two length bytes (little-endian) then the scrambled text. A
// text of 0xFFFF bytes or more has the two bytes FF FF and then four length bytes, so an
// article of any length is stored and read whole.
constexpr std::size_t kLongBinaryWideLength = 0xFFFF;
std::string scrambleLongBinary(std::string_view text);
// Returns false (and leaves `text` empty) for a value that is malformed: shorter than its
// length says.
bool unscrambleLongBinary(const unsigned char* data, std::size_t size, std::string& text);

// Doubles apostrophes so a value can stand inside '...' in SQL text.
std::string sqlEscape(std::string_view value);

// Rewrites the program's SQL dialect for SQLite: "..." literals become '...'.
std::string translateJetSql(std::string_view sql);

// Jet `like`: "*" any run, "?" one character (a double-byte character counts as one),
// "#" one digit; ASCII letters compare without case.
// Never backtracks: at most (pattern length + 1) × (value length + 1) steps, whatever the
// pattern; `steps`, when given, receives how many were taken.
// With an escape character (SQL "like ... escape"), the character after it matches itself.
bool jetLike(std::string_view pattern, std::string_view value, char escape = 0,
             std::size_t* steps = nullptr);
// The text as a pattern that matches it literally, wild cards and escapes escaped.
std::string jetLikeLiteral(std::string_view text, char escape);

// Raw bytes to bind as a binary value.
struct SqlBlob {
    std::string bytes;
};
using SqlValue = std::variant<std::string, long long, SqlBlob>;

class Database {
public:
    // Immutable: read-only, and nothing is made beside the file (no -wal or -shm), for a
    // file nobody may write.
    enum class Mode { ReadOnly, ReadWrite, Create, Immutable };

    Database() = default;
    Database(const std::string& path, Mode mode) { open(path, mode); }
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;

    // How long a connection opened from now on waits for another one's write lock before a
    // statement fails as busy.
    static constexpr int kDefaultBusyTimeout = 2000; // ms
    static void setBusyTimeout(int milliseconds);
    static int busyTimeout();

    // Throws DatabaseError when the file is missing, unreadable or not a database.
    void open(const std::string& path, Mode mode);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    // Gives the pages cached for earlier reads back to the heap; they are read again when
    // needed.
    void releaseMemory() noexcept;

    // Runs statements that return no rows; values are bound to "?" in order.
    void execute(std::string_view sql, const std::vector<SqlValue>& values = {});
    bool hasTable(std::string_view name);
    // False also for a missing table; names compare without case, as fields are read.
    bool hasColumn(std::string_view table, std::string_view column);
    // Write-ahead logging, so that readers and one writer on other connections do not
    // wait for each other. False when the file cannot take it (opened read-only).
    bool useWriteAheadLog();
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// One write transaction: begun at construction, taking the write lock at once; rolled
// back when it goes without commit(), so a failure half-way leaves nothing behind.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    bool open_ = true;
};

// A forward-only cursor over the rows of one query. Values are read by column name and
// converted to text by the column's declared type.
class RecordSet {
public:
    RecordSet(Database& db, std::string_view sql, const std::vector<SqlValue>& values = {});
    ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    bool isEOF() const { return eof_; }
    void moveNext();

    // Throws DatabaseError for an unknown column.
    std::string field(std::string_view column) const;
    // A text to show: as field(), but empty for a NULL value (which field() gives as "NULL").
    std::string text(std::string_view column) const;

private:
    int columnIndex(std::string_view column) const;
    void step();

    sqlite3_stmt* stmt_ = nullptr;
    std::vector<std::string> columns_;
    bool eof_ = true;
};

} // namespace qel
