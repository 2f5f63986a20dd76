#include "study/notecsv.h"

#include "bible/booktable.h"
#include "bible/citation.h"
#include "platform/codec.h"

#include <array>
#include <charconv>
#include <iterator>
#include <span>

namespace qel {
namespace {

constexpr std::array<std::string_view, 6> kHeader{"version", "book", "chapter",
                                                  "verse",   "note", "citation"};

void writeField(std::ostream& out, std::string_view field) {
    // A NUL byte ends the text for most programs that read the file: it is left out.
    if (field.find_first_of(std::string_view(",\"\r\n\0", 5)) == std::string_view::npos) {
        out << field;
        return;
    }
    const bool quoted = field.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted)
        out << '"';
    for (char c : field) {
        if (c == '"')
            out << '"';
        if (c != '\0')
            out << c;
    }
    if (quoted)
        out << '"';
}

// One record: its fields, and the line it started on.
struct Record {
    std::vector<std::string> fields;
    int line = 0;
};

std::vector<Record> parseCsv(std::string_view text) {
    std::vector<Record> records;
    Record current{{std::string()}, 1};
    int line = 1;
    bool quoted = false, fieldStarted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = current.fields.back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n')
                    ++line;
                field.push_back(c);
            }
            continue;
        }
        if (c == '"' && !fieldStarted) {
            quoted = fieldStarted = true;
        } else if (c == ',') {
            current.fields.emplace_back();
            fieldStarted = false;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue; // the '\n' ends the record
        } else if (c == '\n') {
            records.push_back(std::move(current));
            current = Record{{std::string()}, ++line};
            fieldStarted = false;
        } else {
            field.push_back(c);
            fieldStarted = true;
        }
    }
    if (quoted)
        throw NoteCsvError("line " + std::to_string(current.line) + ": quote not closed");
    if (current.fields.size() > 1 || !current.fields[0].empty())
        records.push_back(std::move(current));
    return records;
}

// Notes keep CR LF between lines; a file edited elsewhere may have bare line feeds.
std::string lineEndsCrLf(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\n')
            out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

void writeRecord(std::ostream& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
        if (!first)
            out << ',';
        writeField(out, field);
        first = false;
    }
    out << "\r\n";
}

// The rows of a file whose header names the columns, in any order: each row gives the
// fields of `columns` in that order. Unknown columns are ignored.
std::vector<Record> readTable(std::istream& in, std::span<const std::string_view> columns) {
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    std::vector<Record> records = parseCsv(text);
    if (records.empty())
        throw NoteCsvError("line 1: no header");
    std::vector<int> column(columns.size(), -1);
    const std::vector<std::string>& header = records[0].fields;
    for (std::size_t c = 0; c < header.size(); ++c)
        for (std::size_t k = 0; k < columns.size(); ++k)
            if (header[c] == columns[k])
                column[k] = static_cast<int>(c);
    for (std::size_t k = 0; k < columns.size(); ++k)
        if (column[k] < 0)
            throw NoteCsvError("line 1: no column " + std::string(columns[k]));
    std::vector<Record> rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        Record row{{}, records[r].line};
        for (int c : column)
            row.fields.push_back(static_cast<std::size_t>(c) < records[r].fields.size()
                                     ? std::move(records[r].fields[static_cast<std::size_t>(c)])
                                     : std::string());
        rows.push_back(std::move(row));
    }
    return rows;
}

NoteCsvError faultAt(const Record& record, const std::string& what) {
    return NoteCsvError("line " + std::to_string(record.line) + ": " + what);
}

int number(const Record& record, std::size_t field) {
    const std::string& text = record.fields[field];
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw faultAt(record, "not a number: " + text);
    return value;
}

constexpr std::array<std::string_view, 8> kHighlightHeader{
    "version", "book", "chapter", "verse", "start", "end", "colour", "citation"};
constexpr std::array<std::string_view, 3> kBookmarkHeader{"folder", "name", "key"};

} // namespace

std::string besideNotesCsv(const std::string& notesFile, std::string_view kind) {
    std::string base = notesFile;
    if (base.size() > 4 && base.ends_with(".csv"))
        base.resize(base.size() - 4);
    return base + "-" + std::string(kind) + ".csv";
}

std::string noteCitation(const NoteKey& key) {
    // The copy citation without its text and brackets.
    const std::string cited =
        verseCitation("", key.version, bookNameOf(key.book, key.version), key.chapter, key.verse);
    return cp949ToUtf8(std::string_view(cited).substr(1, cited.size() - 2));
}

void writeNotesCsv(std::ostream& out, const std::vector<Note>& notes, const NoteCitation& cite) {
    writeRecord(out, {kHeader[0], kHeader[1], kHeader[2], kHeader[3], kHeader[4], kHeader[5]});
    for (const Note& note : notes)
        writeRecord(out, {note.key.version, note.key.book, note.key.chapter, note.key.verse,
                          note.text, cite(note.key)});
}

std::vector<Note> readNotesCsv(std::istream& in) {
    std::vector<Note> notes;
    for (const Record& row : readTable(in, std::span(kHeader).first(5))) {
        Note note{{row.fields[0], row.fields[1], row.fields[2], row.fields[3]},
                  lineEndsCrLf(row.fields[4])};
        if (!note.key.complete())
            throw faultAt(row, "version, book, chapter and verse are needed");
        notes.push_back(std::move(note));
    }
    return notes;
}

void writeHighlightsCsv(std::ostream& out, const std::vector<Highlight>& highlights,
                        const NoteCitation& cite) {
    const auto& h = kHighlightHeader;
    writeRecord(out, {h[0], h[1], h[2], h[3], h[4], h[5], h[6], h[7]});
    for (const Highlight& mark : highlights)
        writeRecord(out, {mark.key.version, mark.key.book, mark.key.chapter, mark.key.verse,
                          std::to_string(mark.start), std::to_string(mark.end),
                          std::to_string(mark.colour), cite(mark.key)});
}

std::vector<Highlight> readHighlightsCsv(std::istream& in) {
    std::vector<Highlight> highlights;
    for (const Record& row : readTable(in, std::span(kHighlightHeader).first(7))) {
        Highlight mark{{row.fields[0], row.fields[1], row.fields[2], row.fields[3]},
                       number(row, 4),
                       number(row, 5),
                       number(row, 6)};
        if (!mark.key.complete())
            throw faultAt(row, "version, book, chapter and verse are needed");
        if (mark.start < 0 || mark.start >= mark.end || mark.colour < 1 ||
            mark.colour > kHighlightColours)
            throw faultAt(row, "no span or colour");
        highlights.push_back(std::move(mark));
    }
    return highlights;
}

void writeBookmarksCsv(std::ostream& out, const std::vector<BookmarkEntry>& entries) {
    const auto& h = kBookmarkHeader;
    writeRecord(out, {h[0], h[1], h[2]});
    for (const BookmarkEntry& entry : entries)
        writeRecord(out, {entry.folder, entry.name, entry.key});
}

std::vector<BookmarkEntry> readBookmarksCsv(std::istream& in) {
    std::vector<BookmarkEntry> entries;
    for (const Record& row : readTable(in, kBookmarkHeader)) {
        if (row.fields[2].empty() && (row.fields[0].empty() || !row.fields[1].empty()))
            throw faultAt(row, "a bookmark needs a key");
        entries.push_back({row.fields[0], row.fields[1], row.fields[2]});
    }
    return entries;
}

} // namespace qel
