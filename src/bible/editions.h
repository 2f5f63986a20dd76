#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The reader's editions: one record per slot with every position and title the program
// looks up, and the titles an installed edition brings with it.
namespace qel {

class Database;

// The Korean edition: the standard book table, the verse-search index, and the edition a
// window reads when it needs one and was given none.
inline constexpr const char* kKoreanEdition = "VRA";

enum class EditionLanguage : unsigned char { Korean, English };
// The book table an edition names its books from (see bookTableOf).
enum class EditionBooks : unsigned char { Standard, Vrb, Vrc, English, Gnb };

// One edition slot of the reader. A position is -1 where the edition has none.
struct Edition {
    const char* code;  // the slot, and the table of its text
    const char* alias; // a second code it answers to ("TEV" for GNB), else ""
    int menuCommand;   // the command that opens its window
    int shortcutItem;  // the shortcut panel's item that opens its window
    int parallelIndex; // row of the parallel window and bit of its mask
    int noteIndex;     // sort number in the note list
    int wordIndex;     // number of its word-search index (Data/M14/N.m14)
    int syncOrder;     // synchronised moves visit the windows in this order
    bool verseIndex;   // the verse search reads it
    EditionLanguage language;
    EditionBooks books;
    std::string windowTitle, shortTitle, fullTitle; // built-in titles (CP949)
    bool commentary = false;   // a commentary: no notes, no verse-number marks, opens unmaximised
    bool sectionTitles = true; // its text comes with section titles for the side panel

    // The code the title, note and parallel lists know it by: the alias when it has one.
    std::string_view listedCode() const { return *alias ? alias : code; }
};

// The editions in menu order.
const std::vector<Edition>& editionTable();
// By slot code or alias; nullptr for any other code.
const Edition* findEdition(std::string_view code);
// By the code the lists know it by (listedCode) only: "TEV" finds GNB, "GNB" nothing.
const Edition* findListedEdition(std::string_view code);
// The editions that have a position (parallelIndex, wordIndex, ...), in its order.
std::vector<const Edition*> editionsBy(int Edition::*position);
// The edition at a position; nullptr when none has it.
const Edition* editionAt(int Edition::*position, int index);
// The slot code of a code or alias ("GNB" for "TEV"); empty for an unknown code.
std::string editionSlot(std::string_view code);
// Whether the edition of a code or alias is a commentary; false for unknown codes.
bool isCommentaryEdition(std::string_view code);
// A slot code itself, not an alias: what content sources and imports may name.
bool isEditionSlot(std::string_view code);

// The titles an edition carries instead of its slot's built-in ones (CP949), by slot code.
struct EditionName {
    std::string shortTitle, fullTitle;
};
// Replaces the names in use (set when the content database is opened); thread-safe.
void setEditionNames(std::map<std::string, EditionName, std::less<>> names);
// The own name of the edition in a slot (code or alias), if it brought one.
std::optional<EditionName> ownEditionName(std::string_view code);

// Where an edition's text came from, as the EDITION table of the content database says.
struct EditionInfo {
    std::string code, source, name, licence; // CP949
    // Of an imported or installed edition (empty for the built ones).
    std::string module, version, abbreviation, installed;
};

// The recorded editions in menu order; none when the database has no EDITION table.
std::vector<EditionInfo> readEditions(Database& content);

// Gives the editions that were imported or installed their own names in every title
// (versionShortTitle, versionFullTitle, editionWindowTitle); the built ones keep the slot's.
void useEditionNames(const std::vector<EditionInfo>& editions);

// A shortened title for places that need a short one: the module's abbreviation when it
// has one, else its name up to the first bracket or comma, cut at a word within 20 bytes.
std::string editionShortName(const EditionInfo& edition);

// The content build keeps a copy of each sample edition's rows (its verses as stored and its
// section titles), which imports never touch, so that a slot can be given its sample back.
constexpr const char* kSampleVerseTable = "SAMPLE_VERSE";
constexpr const char* kSampleTitleTable = "SAMPLE_TITLE";
// The database keeps the slot's sample.
bool slotHasSampleCopy(Database& content, const std::string& code);

// The slot holds the sample text the program was built with.
bool editionIsSample(const EditionInfo& edition);
bool slotHoldsSample(Database& content, const std::string& code);

} // namespace qel
