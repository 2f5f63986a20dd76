#include "bible/biblequeries.h"

#include "bible/booktable.h"
#include "bible/editions.h"
#include "platform/database.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace qel {
namespace {

// Fills each "%s" of the format with the next value, escaped for the literal it stands in
// ('...' doubles apostrophes, "..." doubles double quotes).
std::string format(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    auto value = values.begin();
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] == 's' && value != values.end()) {
            for (char v : *value++) {
                out.push_back(v);
                if (quote && v == quote)
                    out.push_back(v);
            }
            ++i;
            continue;
        }
        if (c == '\'' || c == '"')
            quote = (quote == 0) ? c : (quote == c ? 0 : quote);
        out.push_back(c);
    }
    return out;
}

std::vector<std::string> column(Database& db, const std::string& query, std::string_view name) {
    std::vector<std::string> values;
    for (RecordSet rs(db, query); !rs.isEOF(); rs.moveNext())
        values.push_back(rs.field(name));
    return values;
}

} // namespace

std::string versionTable(std::string_view version) {
    return editionSlot(version);
}

namespace sql {

std::string chapterText(std::string_view version, std::string_view book, std::string_view chap) {
    return format("select * from %s where volcode='%s' and chap='%s' order by sequence",
                  {versionTable(version), book, chap});
}

std::string chapterList(std::string_view version, std::string_view book) {
    return format("select chap from CHAPTER where vercode=\"%s\" and volcode=\"%s\" order by "
                  "sequence",
                  {versionTable(version), book});
}

std::string verseList(std::string_view version, std::string_view book, std::string_view chap) {
    return format("select sec from %s where volcode='%s' and chap='%s' order by sequence",
                  {versionTable(version), book, chap});
}

std::string parallelVerse(std::string_view book, std::string_view chap, std::string_view verse) {
    const auto dash = verse.find('-');
    if (dash == std::string_view::npos)
        return format(
            "select * from PARALLEL where volcode='%s' and chap='%s' and (sec='%s' or "
            "(instr(sec, '-') > 0 and cast(sec as integer) <= %s and "
            "cast(substr(sec, instr(sec, '-') + 1) as integer) >= %s)) order by "
            "VERCODE, rowid",
            {book, chap, verse, std::to_string(atoiText(verse)), std::to_string(atoiText(verse))});
    // An edition that merges the verses keeps them in one row under the merged label; the
    // others have a row for each, read in their order.
    const std::string first = std::to_string(atoiText(verse.substr(0, dash)));
    const std::string second = std::to_string(atoiText(verse.substr(dash + 1)));
    return format("select * from PARALLEL where volcode='%s' and chap='%s' and (sec='%s' or "
                  "sec='%s' or sec='%s') order by VERCODE, rowid",
                  {book, chap, first, second, verse});
}

std::string relatedContent(std::string_view book, std::string_view chap, std::string_view verse) {
    return format("select * from REF where volcode='%s' and chap='%s' and sec='%s'",
                  {book, chap, verse});
}

std::string sectionTitles(std::string_view version, std::string_view book) {
    return format("select body from T%s where volcode = '%s' order by sequence",
                  {versionTable(version), book});
}

std::string sectionTitleSearch(std::string_view version) {
    return format("select * from T%s where body like ? escape '\\' order by sequence",
                  {versionTable(version)});
}

std::string sectionTitlePattern(std::string_view text) {
    return "*" + jetLikeLiteral(text, '\\') + "*";
}

std::string article(std::string_view table, std::string_view id) {
    std::string_view known;
    for (std::string_view candidate : kArticleTables)
        if (candidate == table)
            known = candidate;
    return format("select * from %s where id='%s'", {known, id});
}

} // namespace sql

bool hasContentTables(Database& db) {
    // A column the queries name but the table lacks would fail the first chapter opened.
    const auto hasColumns = [&db](std::string_view table,
                                  std::initializer_list<std::string_view> columns) {
        return std::all_of(columns.begin(), columns.end(),
                           [&](std::string_view column) { return db.hasColumn(table, column); });
    };
    for (const Edition& version : editionTable())
        if (!hasColumns(version.code, {"volcode", "chap", "sec", "body", "sequence"}))
            return false;
    return hasColumns("CHAPTER", {"vercode", "volcode", "chap", "sequence"}) &&
           hasColumns("PARALLEL", {"volcode", "chap", "sec", "VERCODE", "body"}) &&
           hasColumns("REF", {"volcode", "chap", "sec", "body"});
}

bool versionHasText(Database& db, std::string_view version) {
    const std::string table = versionTable(version);
    return !table.empty() && !RecordSet(db, "select 1 as n from " + table + " limit 1").isEOF();
}

std::vector<std::string> chaptersOf(Database& db, std::string_view version, std::string_view book) {
    if (versionTable(version).empty())
        return {};
    return column(db, sql::chapterList(version, book), "chap");
}

std::vector<std::string> versesOf(Database& db, std::string_view version, std::string_view book,
                                  std::string_view chap) {
    if (versionTable(version).empty())
        return {};
    return column(db, sql::verseList(version, book, chap), "sec");
}

std::vector<VerseRow> chapterRows(Database& db, std::string_view version, std::string_view book,
                                  std::string_view chap) {
    std::vector<VerseRow> rows;
    if (versionTable(version).empty())
        return rows;
    for (RecordSet rs(db, sql::chapterText(version, book, chap)); !rs.isEOF(); rs.moveNext())
        rows.push_back({rs.field("sec"), rs.text("body")});
    return rows;
}

ChapterPage chapterPage(const std::vector<VerseRow>& rows, std::size_t capacity) {
    ChapterPage page;
    for (const VerseRow& row : rows) {
        std::string piece = "{S VAL=" + row.verse + "}{/S}" + row.body;
        std::replace(piece.begin(), piece.end(), '\r', ' ');
        std::replace(piece.begin(), piece.end(), '\n', ' ');
        if (page.markup.size() + piece.size() >= capacity) {
            page.complete = false;
            break;
        }
        page.markup += piece;
    }
    return page;
}

} // namespace qel
