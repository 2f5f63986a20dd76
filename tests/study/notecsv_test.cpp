#include "study/notecsv.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace qel;

namespace {

std::string exported(const std::vector<Note>& notes) {
    std::ostringstream out;
    writeNotesCsv(out, notes, noteCitation);
    return out.str();
}

std::vector<Note> imported(const std::string& text) {
    std::istringstream in(text);
    return readNotesCsv(in);
}

} // namespace

TEST(NoteCsv, FieldsWithCommasQuotesAndLinesSurviveTheRoundTrip) {
    const std::vector<Note> notes{
        {{"VRA", "1co", "13", "4"}, "사랑은, \"오래\" 참고\r\n둘째 줄\r\n셋째 줄"},
        {{"KJV", "jhn", "3", "16"}, "it's ' OR '1'='1"},
        {{"VRC", "gen", "1", "3-5"}, ""}, // kept as an empty note field
    };
    const std::string csv = exported(notes);
    EXPECT_TRUE(csv.starts_with("version,book,chapter,verse,note,citation\r\n"));
    EXPECT_NE(csv.find("VRA,1co,13,4,\"사랑은, \"\"오래\"\" 참고\r\n둘째 줄\r\n셋째 줄\","
                       "역본 가 고전 13:4\r\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("KJV,jhn,3,16,it's ' OR '1'='1,KJV Jn 3:16\r\n"), std::string::npos) << csv;

    // A NUL byte (from a note written before it was kept out) is left out of the file.
    EXPECT_EQ(exported({{{"VRA", "gen", "1", "1"}, std::string("a\0b", 3)},
                        {{"VRA", "gen", "1", "2"}, std::string("c\0,d", 4)}})
                  .find('\0'),
              std::string::npos);
    EXPECT_NE(exported({{{"VRA", "gen", "1", "1"}, std::string("a\0b", 3)}}).find(",ab,"),
              std::string::npos);

    const std::vector<Note> back = imported(csv);
    ASSERT_EQ(back.size(), notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(back[i].key, notes[i].key);
        EXPECT_EQ(back[i].text, notes[i].text);
    }
}

TEST(NoteCsv, HandWrittenFilesNeedNoCitationAndMayReorderColumns) {
    const auto notes = imported(
        "\xEF\xBB\xBFnote,verse,chapter,book,version\n\"a\nb\",1,2,exo,VRB\nplain,2,2,exo,VRB");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].key, (NoteKey{"VRB", "exo", "2", "1"}));
    // Line feeds become the CR LF that notes keep.
    EXPECT_EQ(notes[0].text, "a\r\nb");
    EXPECT_EQ(notes[1].text, "plain");
}

TEST(NoteCsv, FaultsNameTheirLine) {
    const auto fault = [](const std::string& text) {
        try {
            imported(text);
        } catch (const NoteCsvError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(fault(""), "line 1: no header");
    EXPECT_EQ(fault("version,book,chapter,note\r\n"), "line 1: no column verse");
    EXPECT_EQ(fault("version,book,chapter,verse,note\r\nVRA,gen,1,1,ok\r\nVRA,gen,,1,x\r\n"),
              "line 3: version, book, chapter and verse are needed");
    EXPECT_EQ(fault("version,book,chapter,verse,note\r\nVRA,gen,1,1,\"open\r\n"),
              "line 2: quote not closed");
}
