#include "study/notecsv.h"

#include "bible/booktable.h"
#include "bible/citation.h"
#include "platform/codec.h"

#include <array>
#include <iterator>

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

} // namespace

std::string noteCitation(const NoteKey& key) {
    // The copy citation without its text and brackets.
    const std::string cited =
        verseCitation("", key.version, bookNameOf(key.book, key.version), key.chapter, key.verse);
    return cp949ToUtf8(std::string_view(cited).substr(1, cited.size() - 2));
}

void writeNotesCsv(std::ostream& out, const std::vector<Note>& notes, const NoteCitation& cite) {
    for (std::size_t i = 0; i < kHeader.size(); ++i)
        out << (i ? "," : "") << kHeader[i];
    out << "\r\n";
    for (const Note& note : notes) {
        for (std::string_view field :
             {std::string_view(note.key.version), std::string_view(note.key.book),
              std::string_view(note.key.chapter), std::string_view(note.key.verse),
              std::string_view(note.text)}) {
            writeField(out, field);
            out << ',';
        }
        writeField(out, cite(note.key));
        out << "\r\n";
    }
}

std::vector<Note> readNotesCsv(std::istream& in) {
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    const std::vector<Record> records = parseCsv(text);
    if (records.empty())
        throw NoteCsvError("line 1: no header");
    // Column of each of the five fields that are read.
    std::array<int, 5> column{-1, -1, -1, -1, -1};
    const std::vector<std::string>& header = records[0].fields;
    for (std::size_t c = 0; c < header.size(); ++c)
        for (std::size_t k = 0; k < column.size(); ++k)
            if (header[c] == kHeader[k])
                column[k] = static_cast<int>(c);
    for (std::size_t k = 0; k < column.size(); ++k)
        if (column[k] < 0)
            throw NoteCsvError("line 1: no column " + std::string(kHeader[k]));

    std::vector<Note> notes;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        const auto value = [&](std::size_t k) -> std::string {
            const auto c = static_cast<std::size_t>(column[k]);
            return c < record.fields.size() ? record.fields[c] : std::string();
        };
        Note note{{value(0), value(1), value(2), value(3)}, lineEndsCrLf(value(4))};
        if (!note.key.complete())
            throw NoteCsvError("line " + std::to_string(record.line) +
                               ": version, book, chapter and verse are needed");
        notes.push_back(std::move(note));
    }
    return notes;
}

} // namespace qel
