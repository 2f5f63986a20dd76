#include "study/highlightstore.h"

#include "bible/versiontitles.h"
#include "platform/text.h"

#include <algorithm>

namespace qel {
namespace {

constexpr const char* kSelect =
    "select VERSION, VOLUME, CHAPTER, SECTION, SPAN_START, SPAN_END, COLOUR from tbl_highlight";
constexpr const char* kOrder =
    " order by VERSION_NO, VOLUME_NO, CHAPTER_NO, SECTION_NO, SECTION, SPAN_START";

std::vector<Highlight> readRows(RecordSet& rs) {
    std::vector<Highlight> rows;
    for (; !rs.isEOF(); rs.moveNext())
        rows.push_back(
            {{rs.field("VERSION"), rs.field("VOLUME"), rs.field("CHAPTER"), rs.field("SECTION")},
             atoiText(rs.field("SPAN_START")),
             atoiText(rs.field("SPAN_END")),
             atoiText(rs.field("COLOUR"))});
    return rows;
}

// What is left of the verse's highlights once [start, end) is cleared.
std::vector<Highlight> cut(const std::vector<Highlight>& rows, int start, int end) {
    std::vector<Highlight> kept;
    for (const Highlight& h : rows) {
        if (h.end <= start || h.start >= end) {
            kept.push_back(h);
            continue;
        }
        if (h.start < start)
            kept.push_back({h.key, h.start, start, h.colour});
        if (h.end > end)
            kept.push_back({h.key, end, h.end, h.colour});
    }
    return kept;
}

} // namespace

HighlightStore::HighlightStore(std::string path) : path_(std::move(path)) {
    openBesideNotes(
        db_, path_, [this](Database&) { openTable(); },
        {"highlights", "형광펜을 저장할 수 없습니다.", "형광펜 없이 계속합니다.", "형광펜"});
}

void HighlightStore::openTable() {
    // Asked first, so that a file the reader may only read is not written to.
    if (db_.hasColumn("tbl_highlight", "COLOUR"))
        return;
    Transaction transaction(db_);
    db_.execute("create table tbl_highlight (VERSION TEXT, VOLUME TEXT, CHAPTER TEXT, "
                "SECTION TEXT, SPAN_START INTEGER, SPAN_END INTEGER, COLOUR INTEGER, "
                "VERSION_NO INTEGER, VOLUME_NO INTEGER, CHAPTER_NO INTEGER, SECTION_NO INTEGER)");
    db_.execute("create index tbl_highlight_key on tbl_highlight (VERSION, VOLUME, CHAPTER, "
                "SECTION)");
    transaction.commit();
}

std::vector<Highlight> HighlightStore::verse(const NoteKey& key) {
    RecordSet rs(db_,
                 std::string(kSelect) +
                     " where VERSION = ? AND VOLUME = ? AND CHAPTER = ? AND SECTION = ?"
                     " order by SPAN_START",
                 {key.version, key.book, key.chapter, key.verse});
    return readRows(rs);
}

std::vector<Highlight> HighlightStore::chapter(const std::string& version, const std::string& book,
                                               const std::string& chapter) {
    RecordSet rs(
        db_, std::string(kSelect) + " where VERSION = ? AND VOLUME = ? AND CHAPTER = ?" + kOrder,
        {version, book, chapter});
    return readRows(rs);
}

std::vector<Highlight> HighlightStore::all() {
    RecordSet rs(db_, std::string(kSelect) + kOrder);
    return readRows(rs);
}

bool HighlightStore::apply(const NoteKey& key, int start, int end, int colour) {
    Transaction transaction(db_);
    const bool changed = applyRows(key, start, end, colour);
    transaction.commit();
    return changed;
}

bool HighlightStore::applyRows(const NoteKey& key, int start, int end, int colour) {
    start = std::max(start, 0);
    end = std::min(end, kWholeVerse);
    if (!key.complete() || start >= end || colour < 0 || colour > kHighlightColours)
        return false;
    const std::vector<Highlight> before = verse(key);
    std::vector<Highlight> after = cut(before, start, end);
    if (colour > 0)
        after.push_back({key, start, end, colour});
    std::sort(after.begin(), after.end(),
              [](const Highlight& a, const Highlight& b) { return a.start < b.start; });
    if (after == before)
        return false;
    db_.execute("delete from tbl_highlight where VERSION = ? AND VOLUME = ? AND CHAPTER = ? AND "
                "SECTION = ?",
                {key.version, key.book, key.chapter, key.verse});
    for (const Highlight& h : after)
        insertRow(h);
    return true;
}

void HighlightStore::insertRow(const Highlight& h) {
    db_.execute("insert into tbl_highlight (VERSION, VOLUME, CHAPTER, SECTION, SPAN_START, "
                "SPAN_END, COLOUR, VERSION_NO, VOLUME_NO, CHAPTER_NO, SECTION_NO) values "
                "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {h.key.version, h.key.book, h.key.chapter, h.key.verse,
                 static_cast<long long>(h.start), static_cast<long long>(h.end),
                 static_cast<long long>(h.colour),
                 static_cast<long long>(noteVersionIndex(h.key.version)),
                 static_cast<long long>(bookNumber(h.key.book)),
                 static_cast<long long>(atoiText(h.key.chapter)),
                 static_cast<long long>(atoiText(h.key.verse))});
}

int HighlightStore::merge(const std::vector<Highlight>& highlights) {
    Transaction transaction(db_);
    int changed = 0;
    for (const Highlight& h : highlights)
        if (h.colour > 0)
            changed += applyRows(h.key, h.start, h.end, h.colour) ? 1 : 0;
    transaction.commit();
    return changed;
}

} // namespace qel
