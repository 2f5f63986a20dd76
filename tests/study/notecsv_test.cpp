#include "study/notecsv.h"

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

TEST(NoteCsv, HighlightsAndBookmarksSurviveTheRoundTripThroughTheSameGrammar) {
    const std::vector<Highlight> marks{{{"VRA", "1co", "13", "4"}, 3, 9, 2},
                                       {{"KJV", "jhn", "3", "16"}, 0, kWholeVerse, 5}};
    std::stringstream highlightFile;
    writeHighlightsCsv(highlightFile, marks, noteCitation);
    EXPECT_NE(highlightFile.str().find("KJV,jhn,3,16,0,1073741824,5,KJV Jn 3:16\r\n"),
              std::string::npos);
    EXPECT_EQ(readHighlightsCsv(highlightFile), marks);

    const std::vector<BookmarkEntry> entries{{"", "지도, \"갈릴리\"", "Mf0101"},
                                             {"it's", "' OR '1'='1\r\n둘째 줄", "BVRAjhn003016"},
                                             {"빈 폴더", "", ""}};
    std::stringstream bookmarkFile;
    writeBookmarksCsv(bookmarkFile, entries);
    EXPECT_TRUE(bookmarkFile.str().starts_with("folder,name,key\r\n,\"지도, \"\"갈릴리\"\"\""));
    EXPECT_EQ(readBookmarksCsv(bookmarkFile), entries);

    EXPECT_EQ(besideNotesCsv("/tmp/notes.csv", "bookmarks"), "/tmp/notes-bookmarks.csv");
    EXPECT_EQ(besideNotesCsv("notes", "highlights"), "notes-highlights.csv");
}

TEST(NoteCsv, FaultsNameTheirLine) {
    enum Kind { Notes, Highlights, Bookmarks };
    const struct {
        Kind kind;
        const char* text;
        const char* fault;
    } rows[] = {
        {Notes, "", "line 1: no header"},
        {Notes, "version,book,chapter,note\r\n", "line 1: no column verse"},
        {Notes, "version,book,chapter,verse,note\r\nVRA,gen,1,1,ok\r\nVRA,gen,,1,x\r\n",
         "line 3: version, book, chapter and verse are needed"},
        {Notes, "version,book,chapter,verse,note\r\nVRA,gen,1,1,\"open\r\n",
         "line 2: quote not closed"},
        {Highlights, "version,book,chapter,verse,start,end\r\n", "line 1: no column colour"},
        {Highlights, "version,book,chapter,verse,start,end,colour\r\nVRA,gen,1,1,0,x,1\r\n",
         "line 2: not a number: x"},
        {Highlights, "version,book,chapter,verse,start,end,colour\r\nVRA,gen,1,1,4,4,1\r\n",
         "line 2: no span or colour"},
        {Highlights, "version,book,chapter,verse,start,end,colour\r\nVRA,,1,1,0,4,1\r\n",
         "line 2: version, book, chapter and verse are needed"},
        {Bookmarks, "folder,name\r\n", "line 1: no column key"},
        {Bookmarks, "folder,name,key\r\na,b,Mf0101\r\n,,\r\n", "line 3: a bookmark needs a key"},
    };
    for (const auto& row : rows) {
        std::istringstream in(row.text);
        std::string fault = "no error";
        try {
            if (row.kind == Notes)
                readNotesCsv(in);
            else if (row.kind == Highlights)
                readHighlightsCsv(in);
            else
                readBookmarksCsv(in);
        } catch (const NoteCsvError& e) {
            fault = e.what();
        }
        EXPECT_EQ(fault, row.fault) << row.text;
    }
}
