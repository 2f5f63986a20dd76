#pragma once

#include "platform/database.h"
#include "study/notestore.h"

#include <string>
#include <vector>

namespace qel {

// A stretch of one verse in one colour. Start and end count characters (code points) of
// the verse's plain text, end exclusive; a whole verse runs from 0 to kWholeVerse, so it
// stays whole whatever the text's length.
struct Highlight {
    NoteKey key;
    int start = 0;
    int end = 0;
    int colour = 1;
    bool operator==(const Highlight&) const = default;
};

inline constexpr int kWholeVerse = 1 << 30;
inline constexpr int kHighlightColours = 5;

// The reader's highlights in "Study.mdb", table `tbl_highlight`, beside the notes and kept
// the same way: every value bound, one transaction per change, write-ahead logging and a
// busy timeout. A file the note store refuses is refused here too (it has been copied aside
// and reported there); a file that will not take the table is reported once and left alone.
class HighlightStore {
public:
    explicit HighlightStore(std::string path);

    bool isOpen() const { return db_.isOpen(); }

    // Colours the span [start, end) of a verse; colour 0 erases it. Highlights the span
    // overlaps are cut back, so a character has at most one colour. One transaction.
    // Returns false when nothing changed. Throws DatabaseError; nothing is written then.
    bool apply(const NoteKey& key, int start, int end, int colour);

    // The highlights of one chapter, by verse then start.
    std::vector<Highlight> chapter(const std::string& version, const std::string& book,
                                   const std::string& chapter);
    // Every highlight, in Bible order.
    std::vector<Highlight> all();

    // Adds highlights from elsewhere in one transaction; a span already coloured so is left
    // alone, so that importing a file twice changes nothing. Returns how many changed.
    int merge(const std::vector<Highlight>& highlights);

private:
    void openTable();
    std::vector<Highlight> verse(const NoteKey& key);
    bool applyRows(const NoteKey& key, int start, int end, int colour);
    void insertRow(const Highlight& h);

    std::string path_;
    Database db_;
};

} // namespace qel
