#include "compare/passagegather.h"

#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/editions.h"
#include "compare/passagetable.h"
#include "platform/codec.h"
#include "platform/database.h"

#include <algorithm>

namespace qel {
namespace {

constexpr std::string_view kChapterBreak = "{B} {B}";
// A sample edition holds only some chapters; a book with none of its verses says so
// instead of showing a bare heading.
const std::string& notInstalledNotice() {
    static const std::string notice = utf8ToCp949("{B}이 본문은 설치되어 있지 않습니다.");
    return notice;
}

std::vector<PassageRow> rows(Database& db, const std::string& sql) {
    std::vector<PassageRow> out;
    for (RecordSet rs(db, sql); !rs.isEOF(); rs.moveNext())
        out.push_back({rs.field("chap"), rs.text("body")});
    return out;
}

} // namespace

DatabasePassageSource::DatabasePassageSource(Database& db, std::string_view version)
    : db_(db), table_(versionTable(version)) {
    // Table names cannot be bound: an unknown code reads the default edition.
    if (table_.empty())
        table_ = kKoreanEdition;
}

std::vector<PassageRow> DatabasePassageSource::verse(const std::string& book, int chap, int verse) {
    return rows(db_, "select chap, sec, body from " + table_ + " where volcode='" +
                         sqlEscape(book) + "' and chap='" + std::to_string(chap) + "' and sec='" +
                         std::to_string(verse) + "'");
}

std::optional<std::string> DatabasePassageSource::sequence(const std::string& book, int chap,
                                                           int verse) {
    RecordSet rs(db_, "select sequence from " + table_ + " where volcode='" + sqlEscape(book) +
                          "' and chap='" + std::to_string(chap) + "' and sec='" +
                          std::to_string(verse) + "'");
    if (rs.isEOF())
        return std::nullopt;
    return rs.field("sequence");
}

std::vector<PassageRow> DatabasePassageSource::range(const std::string& book,
                                                     const std::string& first,
                                                     const std::string& last) {
    // Sequences come from the database or are the fixed bounds, never from the user.
    return rows(db_, "select chap, sec, body from " + table_ + " where volcode='" +
                         sqlEscape(book) + "' and sequence >= " + first +
                         " and sequence <= " + last + " order by sequence");
}

std::string gatherVerseSpan(const VerseSpan& span, PassageSource& source, bool* anyVerse) {
    std::vector<PassageRow> found;
    if (!span.range) {
        found = source.verse(span.book, span.chapter, span.lastVerse);
    } else {
        const auto first = source.sequence(span.book, span.chapter, span.firstVerse);
        const auto last = source.sequence(span.book, span.endChapter, span.lastVerse);
        // With neither end in the edition the passage is not installed at all; an open
        // range would show the whole book instead.
        if (first || last)
            found = source.range(span.book, first.value_or("0"), last.value_or("9999"));
    }
    if (anyVerse && !found.empty())
        *anyVerse = true;
    std::string text(kChapterBreak);
    std::string chapter = found.empty() ? "" : found.front().chap;
    for (const PassageRow& row : found) {
        if (row.chap != chapter) {
            text += kChapterBreak;
            chapter = row.chap;
        }
        text += row.body;
    }
    return text;
}

std::vector<PassageSlot> gatherSlots(const std::vector<VerseSpan>& spans, PassageSource& source,
                                     std::size_t slotLimit) {
    std::vector<PassageSlot> slots;
    std::vector<bool> anyVerse;
    for (const VerseSpan& span : spans) {
        if (slots.empty() || slots.back().book != span.book) {
            if (slots.size() == slotLimit)
                continue;
            slots.push_back({span.book, "{F SIZ=1.4 VAL=B}" +
                                            bookNameOf(span.book, kKoreanEdition) + " " +
                                            span.heading + "{/F}{B}"});
            anyVerse.push_back(false);
        }
        bool found = false;
        slots.back().markup += gatherVerseSpan(span, source, &found);
        if (found)
            anyVerse.back() = true;
    }
    for (std::size_t i = 0; i < slots.size(); ++i)
        if (!anyVerse[i])
            slots[i].markup += notInstalledNotice();
    return slots;
}

const ComparisonKind& fourGospelComparison() {
    static const ComparisonKind kind{readGospelReferences, 4, {"mat", "mrk", "luk", "jhn"}};
    return kind;
}

const ComparisonKind& historyBooksComparison() {
    static const ComparisonKind kind{
        readHistoryReferences, 6, {"1sa", "2sa", "1ki", "2ki", "1ch", "2ch"}};
    return kind;
}

std::optional<std::vector<std::string>>
loadPaneTexts(const ComparisonKind& kind, const PassageEntry& entry, PassageSource& source) {
    if (entry.key.empty())
        return std::nullopt;
    std::vector<std::string> panes(kind.paneBooks.size());
    for (const PassageSlot& slot : gatherSlots(kind.read(entry.key), source, kind.slotLimit)) {
        const auto pane = std::find(kind.paneBooks.begin(), kind.paneBooks.end(), slot.book);
        if (pane != kind.paneBooks.end())
            panes[pane - kind.paneBooks.begin()] += slot.markup;
    }
    return panes;
}

} // namespace qel
