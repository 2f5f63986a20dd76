#pragma once

#include "bible/editions.h"
#include "compare/passagereference.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

class Database;
struct TopicEntry;
using PassageEntry = TopicEntry;

// A verse as the comparison panes need it.
struct PassageRow {
    std::string chap;
    std::string body;
};

// Where a comparison reads its verses from; the windows use the content database, and
// anything else can stand in for it.
class PassageSource {
public:
    virtual ~PassageSource() = default;
    virtual std::vector<PassageRow> verse(const std::string& book, int chap, int verse) = 0;
    // The verse's `sequence`, nothing when the verse is missing.
    virtual std::optional<std::string> sequence(const std::string& book, int chap, int verse) = 0;
    virtual std::vector<PassageRow> range(const std::string& book, const std::string& first,
                                          const std::string& last) = 0;
};

// Reads an edition of the content database (`VRA` unless told) with the comparison
// windows' own queries.
class DatabasePassageSource : public PassageSource {
public:
    explicit DatabasePassageSource(Database& db, std::string_view version = kKoreanEdition);
    std::vector<PassageRow> verse(const std::string& book, int chap, int verse) override;
    std::optional<std::string> sequence(const std::string& book, int chap, int verse) override;
    std::vector<PassageRow> range(const std::string& book, const std::string& first,
                                  const std::string& last) override;

private:
    Database& db_;
    std::string table_;
};

// The markup of one span: "{B} {B}" first and again wherever the chapter
// changes, then the verse bodies. A range whose first verse is missing starts at sequence
// 0, one whose last verse is missing runs to sequence 9999; one with neither end gathers
// nothing. Sets anyVerse when a verse was
// found.
std::string gatherVerseSpan(const VerseSpan& span, PassageSource& source, bool* anyVerse = nullptr);

// One book's text: a heading of the book's full name in `VRA` and the heading reference,
// then every following span of the same book, so a book gets one heading. A book none of
// whose verses the edition holds gets a one-line notice that its text is not installed.
struct PassageSlot {
    std::string book;
    std::string markup;
};
std::vector<PassageSlot> gatherSlots(const std::vector<VerseSpan>& spans, PassageSource& source,
                                     std::size_t slotLimit);

// What a comparison window shows: its grammar, how many books an entry may fill and the
// book of each pane in pane order.
struct ComparisonKind {
    std::vector<VerseSpan> (*read)(std::string_view references);
    std::size_t slotLimit;
    std::vector<std::string> paneBooks;
};
const ComparisonKind& fourGospelComparison();   // mat mrk luk jhn
const ComparisonKind& historyBooksComparison(); // 1sa 2sa 1ki 2ki 1ch 2ch

// The markup of every pane for an entry (empty for a pane whose book the entry does not
// name; a slot of a book without a pane is dropped). Nothing for a heading: picking one
// loads nothing and the window stays as it was.
std::optional<std::vector<std::string>>
loadPaneTexts(const ComparisonKind& kind, const PassageEntry& entry, PassageSource& source);

} // namespace qel
