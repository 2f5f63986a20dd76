#include "platform/database.h"

#include "platform/codec.h"
#include "platform/messagesink.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <utility>

namespace qel {
namespace {

// Scrambles article text in the content database; the builder uses the same key.
constexpr std::array<unsigned char, 10> kContentKey = {0x51, 0x45, 0x4C, 0x9B, 0x21,
                                                       0xE7, 0x3C, 0x88, 0x05, 0xD2};

void xorWithKey(std::string& text) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i)
        text[i] =
            static_cast<char>(static_cast<unsigned char>(text[i]) ^ kContentKey[(n + i) % 10]);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool containsNoCase(std::string_view haystack, std::string_view needle) {
    auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                          [](char x, char y) {
                              return std::toupper(static_cast<unsigned char>(x)) ==
                                     std::toupper(static_cast<unsigned char>(y));
                          });
    return it != haystack.end();
}

// Whether the pattern character at p (neither "*" nor past the end) matches the value
// character at v; a literal one is never a wild card.
bool likeOne(std::string_view pattern, std::size_t p, std::string_view value, std::size_t v,
             bool literal) {
    const char c = pattern[p];
    if (c == '?' && !literal)
        return true;
    if (c == '#' && !literal)
        return std::isdigit(static_cast<unsigned char>(value[v])) != 0;
    const std::size_t length = characterLength(pattern, p);
    if (length != characterLength(value, v))
        return false;
    if (length == 2)
        return pattern.compare(p, 2, value.substr(v, 2)) == 0;
    return std::tolower(static_cast<unsigned char>(c)) ==
           std::tolower(static_cast<unsigned char>(value[v]));
}

void sqlLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    // SQLite passes the pattern first: "a like b" calls like(b, a).
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL ||
        sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int patternLen = sqlite3_value_bytes(argv[0]);
    const auto* value = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int valueLen = sqlite3_value_bytes(argv[1]);
    char escape = 0;
    if (argc == 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
        if (sqlite3_value_bytes(argv[2]) != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]))[0];
    }
    sqlite3_result_int(ctx, jetLike(std::string_view(pattern, patternLen),
                                    std::string_view(value, valueLen), escape));
}

// A failed write names the system's reason too: SQLite says "disk I/O error" for a full
// quota or a file-size limit alike.
std::string errorText(sqlite3* db, std::string_view what) {
    if (!db)
        return std::string(what) + ": out of memory";
    std::string text = std::string(what) + ": " + sqlite3_errmsg(db);
    const int code = sqlite3_errcode(db) & 0xff; // the primary code of an extended one
    if ((code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN) &&
        sqlite3_system_errno(db) != 0)
        text += std::string(" (") + std::strerror(sqlite3_system_errno(db)) + ")";
    return text;
}

std::string formatted(const char* format, auto value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

std::string scrambleLongBinary(std::string_view text) {
    std::string body(text);
    xorWithKey(body);
    std::string out;
    const auto putLength = [&out](std::size_t n, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    };
    if (text.size() < kLongBinaryWideLength) {
        putLength(text.size(), 2);
    } else {
        if (text.size() > 0xFFFFFFFFu)
            throw DatabaseError("long-binary text of " + std::to_string(text.size()) +
                                " bytes is too long to store");
        putLength(kLongBinaryWideLength, 2);
        putLength(text.size(), 4);
    }
    return out + body;
}

bool unscrambleLongBinary(const unsigned char* data, std::size_t size, std::string& text) {
    text.clear();
    const auto readLength = [data](std::size_t at, int bytes) {
        std::size_t n = 0;
        for (int i = 0; i < bytes; ++i)
            n |= static_cast<std::size_t>(data[at + i]) << (8 * i);
        return n;
    };
    if (size < 2)
        return false;
    std::size_t header = 2;
    std::size_t n = readLength(0, 2);
    if (n == kLongBinaryWideLength) {
        if (size < 6)
            return false;
        header = 6;
        n = readLength(2, 4);
    }
    if (n > size - header)
        return false;
    text.assign(reinterpret_cast<const char*>(data + header), n);
    xorWithKey(text);
    return true;
}

std::string sqlEscape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        out.push_back(c);
        if (c == '\'')
            out.push_back('\'');
    }
    return out;
}

std::string translateJetSql(std::string_view sql) {
    std::string out;
    out.reserve(sql.size());
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\'') {
            // Copy a single-quoted literal unchanged, '' included.
            std::size_t end = i + 1;
            while (end < sql.size()) {
                if (sql[end] == '\'' && (end + 1 >= sql.size() || sql[end + 1] != '\''))
                    break;
                end += (sql[end] == '\'') ? 2 : 1;
            }
            out.append(sql.substr(i, end + 1 - i));
            i = end;
        } else if (c == '"') {
            // A double-quoted literal; "" inside stands for one double quote.
            std::string value;
            std::size_t end = i + 1;
            for (; end < sql.size(); ++end) {
                if (sql[end] == '"') {
                    if (end + 1 < sql.size() && sql[end + 1] == '"') {
                        value.push_back('"');
                        ++end;
                        continue;
                    }
                    break;
                }
                value.push_back(sql[end]);
            }
            out.push_back('\'');
            out += sqlEscape(value);
            out.push_back('\'');
            i = end;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string jetLikeLiteral(std::string_view text, char escape) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = characterLength(text, i);
        const char c = text[i];
        // A trail byte may equal a wild card or the escape; only whole characters count.
        if (length == 1 && (c == '*' || c == '?' || c == '#' || c == escape))
            out.push_back(escape);
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

bool jetLike(std::string_view pattern, std::string_view value, char escape, std::size_t* steps) {
    // Greedy, with one resume point: the last "*" seen. When the characters after it fail,
    // that "*" takes one more value character and matching resumes there; an earlier "*"
    // never needs to take more, because each run between stars was matched as early as it
    // could be. So a hostile pattern costs at most pattern length times value length steps.
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t p = 0, v = 0;
    std::size_t resumePattern = kNone, resumeValue = 0;
    std::size_t taken = 0;
    const auto finish = [&](bool matched) {
        if (steps)
            *steps = taken;
        return matched;
    };
    while (v < value.size()) {
        ++taken;
        // An escaped character stands for itself.
        const bool literal = escape && p + 1 < pattern.size() && pattern[p] == escape;
        const std::size_t at = literal ? p + 1 : p;
        if (!literal && p < pattern.size() && pattern[p] == '*') {
            while (p < pattern.size() && pattern[p] == '*')
                ++p;
            resumePattern = p;
            resumeValue = v;
        } else if (at < pattern.size() && likeOne(pattern, at, value, v, literal)) {
            p = at + characterLength(pattern, at);
            v += characterLength(value, v);
        } else if (resumePattern != kNone) {
            resumeValue += characterLength(value, resumeValue);
            p = resumePattern;
            v = resumeValue;
        } else {
            return finish(false);
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return finish(p == pattern.size());
}

namespace {
std::atomic<int> busyTimeoutMs{Database::kDefaultBusyTimeout};
} // namespace

void Database::setBusyTimeout(int milliseconds) {
    busyTimeoutMs = milliseconds;
}

int Database::busyTimeout() {
    return busyTimeoutMs;
}

Database::~Database() {
    close();
}

Database::Database(Database&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

namespace {

// "file:" URI of a path with immutable=1: the characters a URI gives a meaning are escaped.
std::string immutableUri(const std::string& path) {
    std::string uri = "file:";
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#' || c < 0x20) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        } else {
            uri += static_cast<char>(c);
        }
    }
    return uri + "?immutable=1";
}

} // namespace

void Database::open(const std::string& path, Mode mode) {
    close();
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    case Mode::Immutable:
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        break;
    }
    sqlite3* db = nullptr;
    const std::string name = mode == Mode::Immutable ? immutableUri(path) : path;
    const int rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = errorText(db, "cannot open " + path);
        sqlite3_close(db);
        throw DatabaseError(message);
    }
    db_ = db;
    sqlite3_busy_timeout(db_, busyTimeout());
    sqlite3_create_function(db_, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlLike,
                            nullptr, nullptr);
    sqlite3_create_function(db_, "like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlLike,
                            nullptr, nullptr);
    // SQLite opens lazily; reading the schema proves the file is a database.
    try {
        RecordSet probe(*this, "select count(*) as n from sqlite_master");
    } catch (const DatabaseError&) {
        close();
        throw DatabaseError("not a database: " + path);
    }
}

void Database::close() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void Database::releaseMemory() noexcept {
    if (db_)
        sqlite3_db_release_memory(db_);
}

void Database::execute(std::string_view sql, const std::vector<SqlValue>& values) {
    RecordSet rs(*this, sql, values);
}

bool Database::hasTable(std::string_view name) {
    RecordSet rs(*this,
                 "select name from sqlite_master where type='table' and name=? collate nocase",
                 {std::string(name)});
    return !rs.isEOF();
}

bool Database::hasColumn(std::string_view table, std::string_view column) {
    RecordSet rs(*this, "select name from pragma_table_info(?) where name=? collate nocase",
                 {std::string(table), std::string(column)});
    return !rs.isEOF();
}

bool Database::useWriteAheadLog() {
    try {
        RecordSet mode(*this, "pragma journal_mode=wal");
        return !mode.isEOF() && equalsNoCase(mode.field("journal_mode"), "wal");
    } catch (const DatabaseError& e) {
        logWarning(e.what());
        return false;
    }
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.execute("begin immediate");
}

Transaction::~Transaction() {
    if (open_ && db_.isOpen())
        sqlite3_exec(db_.handle(), "rollback", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    db_.execute("commit");
    open_ = false;
}

RecordSet::RecordSet(Database& db, std::string_view sql, const std::vector<SqlValue>& values) {
    if (!db.isOpen())
        throw DatabaseError("database is not open");
    const std::string text = translateJetSql(sql);
    if (sqlite3_prepare_v2(db.handle(), text.c_str(), static_cast<int>(text.size()), &stmt_,
                           nullptr) != SQLITE_OK) {
        const std::string message = errorText(db.handle(), text);
        sqlite3_finalize(stmt_);
        throw DatabaseError(message);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        if (const auto* text = std::get_if<std::string>(&values[i]))
            sqlite3_bind_text(stmt_, index, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT);
        else if (const auto* number = std::get_if<long long>(&values[i]))
            sqlite3_bind_int64(stmt_, index, *number);
        else {
            const std::string& bytes = std::get<SqlBlob>(values[i]).bytes;
            sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()),
                              SQLITE_TRANSIENT);
        }
    }
    const int count = sqlite3_column_count(stmt_);
    for (int i = 0; i < count; ++i)
        columns_.emplace_back(sqlite3_column_name(stmt_, i));
    eof_ = false;
    try {
        step();
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        sqlite3_finalize(stmt_);
        throw;
    }
}

RecordSet::~RecordSet() {
    sqlite3_finalize(stmt_);
}

void RecordSet::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return;
    eof_ = true;
    if (rc != SQLITE_DONE)
        throw DatabaseError(errorText(sqlite3_db_handle(stmt_), "query failed"));
}

void RecordSet::moveNext() {
    if (!eof_)
        step();
}

int RecordSet::columnIndex(std::string_view column) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (equalsNoCase(columns_[i], column))
            return static_cast<int>(i);
    return -1;
}

std::string RecordSet::text(std::string_view column) const {
    const int i = columnIndex(column);
    if (i >= 0 && !eof_ && sqlite3_column_type(stmt_, i) == SQLITE_NULL)
        return {};
    return field(column);
}

std::string RecordSet::field(std::string_view column) const {
    const int i = columnIndex(column);
    if (i < 0)
        throw DatabaseError("no column " + std::string(column));
    if (eof_)
        throw DatabaseError("no current row");
    const int type = sqlite3_column_type(stmt_, i);
    if (type == SQLITE_NULL)
        return "NULL";
    const char* declared = sqlite3_column_decltype(stmt_, i);
    const std::string_view decl = declared ? declared : "";
    if (containsNoCase(decl, "LONGBINARY") || containsNoCase(decl, "BLOB") ||
        (decl.empty() && type == SQLITE_BLOB)) {
        std::string text;
        const auto* data = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_, i));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i));
        if (!unscrambleLongBinary(data, size, text))
            logWarning("long-binary value of column " + std::string(column) + " refused (" +
                       std::to_string(size) + " bytes)");
        return text;
    }
    if (containsNoCase(decl, "BOOL") || containsNoCase(decl, "BIT"))
        return sqlite3_column_int(stmt_, i) ? "TRUE" : "FALSE";
    if (containsNoCase(decl, "SMALLINT") || containsNoCase(decl, "SHORT"))
        return formatted("%hd", static_cast<short>(sqlite3_column_int(stmt_, i)));
    if (containsNoCase(decl, "INT") || equalsNoCase(decl, "LONG") ||
        (decl.empty() && type == SQLITE_INTEGER))
        return formatted("%d", static_cast<int>(sqlite3_column_int64(stmt_, i)));
    if (containsNoCase(decl, "REAL") || containsNoCase(decl, "FLOA") ||
        containsNoCase(decl, "DOUB") || containsNoCase(decl, "SINGLE") ||
        (decl.empty() && type == SQLITE_FLOAT))
        return formatted("%e", sqlite3_column_double(stmt_, i));
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i)));
}

} // namespace qel
