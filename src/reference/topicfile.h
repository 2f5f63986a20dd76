#pragma once

#include "platform/database.h"

#include <optional>
#include <string>
#include <vector>

namespace qel {

class PassageSource;

// The topic data files ("ca.m14" ... "ad.m14"): SQLite files that qel-mkdb writes and the
// topic libraries read. Texts are CP949.
namespace topicschema {
// The picture is declared neither BLOB nor LONGBINARY, so its PNG bytes read back untouched.
inline constexpr const char* kTopicTable = "create table TOPIC (tkey text primary key, "
                                           "heading text, body text, refs text, picture PICTURE)";
// Chronology rows in source order (seq); years are integers, before Christ negative.
inline constexpr const char* kChronologyTable =
    "create table CHRONO (seq integer, tkey text, track text, yfrom integer, yto integer, "
    "circa integer, label text, body text)";
} // namespace topicschema

struct TopicRecord {
    std::string key;
    std::string heading; // short topics: the heading of the list
    std::string body;    // markup
    std::string refs;    // short topics: book references ("jhn3:16 rom5:8,10-11")
    std::string picture; // PNG bytes, empty without a picture
};

struct ChronologyRecord {
    std::string key;
    std::string track; // era israel judah prophet nation event church
    int from = 0;      // years; before Christ negative, no year 0
    int to = 0;
    bool circa = false; // the dates are uncertain
    std::string label;
    std::string body; // markup
};

// The years a chronology entry may have: the chart spans them, and the axis arithmetic
// stays far from overflow.
inline constexpr int kChronologyYearLimit = 10000;
// A year of the chronology, or nothing for text that is no year in that range (or 0).
std::optional<int> chronologyYear(const std::string& text);

// One topic file, read-only. A missing or damaged file is simply not open: every read then
// finds nothing, and nothing throws.
class TopicFile {
public:
    [[nodiscard]] bool open(const std::string& path);
    void close() { db_.close(); }
    bool isOpen() const { return db_.isOpen(); }

    std::optional<TopicRecord> topic(const std::string& key);
    std::vector<std::string> keys();
    std::vector<ChronologyRecord> chronology();

private:
    Database db_;
};

// The one line a view shows when its topic file is missing or damaged (CP949).
std::string missingTopicDataLine(const std::string& fileName);

// A short topic as markup: its heading, then each book reference as a link heading with the
// verses of the edition below it, or a notice where the edition lacks them. English topics
// ("SE...") read the KJV, Korean ones `VRA`; `source` reads that edition.
std::string shortTopicMarkup(const TopicRecord& topic, bool english, PassageSource& source);

} // namespace qel
