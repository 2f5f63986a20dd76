#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// The verse search's result file ("out.dat"): records ended by "^", the list ended by a
// record that is "*" alone. A record is a reference, "#" and the hit word positions joined
// by "#", and a line end: 창1:1#3#7\n^ ... ^*
namespace qel {

constexpr std::size_t kResultRecordLimit = 631;

// Writes the records of a search into one text, verse after verse, without a string per
// hit. A verse whose positions do not fit one record is written as several records of the
// same reference; a verse without positions writes nothing.
class ResultWriter {
public:
    void reserve(std::size_t bytes) { room(bytes); }
    // `reference` (book abbreviation + chapter + ":" + verse, CP949) must outlive the
    // positions that follow it.
    void verse(std::string_view reference);
    // A 1-based word position in the verse's display text; written in place, as it is
    // called once per hit.
    void position(int position) {
        char digits[12];
        std::size_t length = 0;
        for (unsigned v = static_cast<unsigned>(position); length == 0 || v != 0; v /= 10)
            digits[sizeof digits - ++length] = static_cast<char>('0' + v % 10);
        if (open_ && size_ - recordStart_ + length + 2 > kResultRecordLimit)
            closeRecord();
        if (size_ + reference_.size() + length + 1 > out_.size())
            room(reference_.size() + length + 1);
        char* o = out_.data() + size_;
        if (!open_) {
            recordStart_ = size_;
            std::memcpy(o, reference_.data(), reference_.size());
            o += reference_.size();
            open_ = true;
        }
        *o++ = '#';
        for (std::size_t i = sizeof digits - length; i < sizeof digits; ++i)
            *o++ = digits[i];
        size_ = static_cast<std::size_t>(o - out_.data());
    }
    // The whole text, the end mark included; the writer is empty afterwards.
    std::string finish();

private:
    void closeRecord();
    void room(std::size_t bytes);

    std::string out_; // written up to size_, grown ahead
    std::size_t size_ = 0;
    std::string_view reference_;
    std::size_t recordStart_ = 0;
    bool open_ = false;
};

// Writes the file; false with errno set when it cannot be written.
[[nodiscard]] bool writeResultFile(const std::string& path, std::string_view text);
// Reads the whole file in one piece; false with errno set when it cannot be read.
[[nodiscard]] bool readResultFile(const std::string& path, std::string& text);

// Reads the records of a file's text one at a time into one buffer: a record ends at the
// first "^" or "*"; an empty record ended by "*" ends the list, as does the end of the text,
// where a last cut record is kept when it holds 4 bytes or more. Records longer than
// kResultRecordLimit are cut to it.
class ResultRecords {
public:
    explicit ResultRecords(std::string_view text) : text_(text) {}
    // Moves to the next record; false at the end of the list.
    bool next();
    // The current record, NUL-terminated for the engine's calls.
    const std::string& record() const { return record_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::string record_;
};

// The hit position text of a record: what follows its first "#", without a last
// character that is not a digit. False when the record has no "#".
bool hitPositionText(std::string_view record, std::string& positions);

// A reference split from its end: verse = trailing digits and "-", one separator, chapter =
// the digits and "-" before it, book = the rest. False unless all three are non-empty.
struct ResultReference {
    std::string book, chapter, verse;
};
bool splitResultReference(std::string_view reference, ResultReference& out);

} // namespace qel
