#include "mkdb/kjvimport.h"

#include <gtest/gtest.h>

#include <sstream>

using qel::mkdb::osisToMarkup;
using qel::mkdb::readKjvImp;
using qel::mkdb::SourceError;
using qel::mkdb::SourceVerse;

namespace {

std::vector<SourceVerse> readString(const std::string& text) {
    std::istringstream in(text);
    return readKjvImp(in, "kjv.imp");
}

// "book chapter:verse body" of each verse.
std::vector<std::string> rows(const std::vector<SourceVerse>& verses) {
    std::vector<std::string> text;
    for (const SourceVerse& v : verses)
        text.push_back(v.book + " " + v.chapter + ":" + v.verse + " " + v.body);
    return text;
}

std::string errorOf(const std::string& text) {
    try {
        readString(text);
    } catch (const SourceError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(OsisToMarkup, KeepsTheWordsItalicsNotesAndPsalmTitlesOfAVerse) {
    const struct {
        const char* name;
        const char* osis;
        const char* markup;
    } rows[] = {
        {"inline tags keep only their words",
         R"(In the <w lemma="strong:H7225">beginning</w> <divineName>)"
         R"(<w lemma="strong:H3068">LORD</w></divineName> <q marker="" )"
         R"(who="Jesus">said</q><milestone type="x" n="a>b"/> <foreign>x</foreign> )"
         R"(<seg type="x-nested">y</seg> <unknown a="1">z</unknown>)",
         "In the beginning LORD said x y z"},
        // The module leaves USFM divine-name markers in some verses.
        {"usfm marker", R"(my name \nd <w lemma="strong:H3068">JEHOVAH</w></divineName> was)",
         "my name JEHOVAH was"},
        {"usfm end marker", R"(the <divineName>LORD\+nd*: or)", "the LORD: or"},
        {"added words", R"(that <transChange type="added">it was</transChange> good)",
         "that {F VAL=I}it was{/F} good"},
        {"nested added words",
         R"(<transChange type="added">the <seg type="x-nested"><divineName>)"
         R"(LORD</divineName></seg></transChange>, and)",
         "{F VAL=I}the LORD{/F}, and"},
        {"blank added words", R"(a <transChange type="added"> </transChange> b)", "a b"},
        {"blank added words first", R"(<transChange type="added"> </transChange> b)", "b"},
        {"unbalanced added words", R"(a </transChange>b <transChange type="added">c)",
         "a b {F VAL=I}c{/F}"},
        {"translator's note",
         R"(darkness.<note placement="foot"><reference type="annotateRef">1.4 )"
         R"(</reference>the light…: Heb. <divineName>LORD</divineName> "x"</note>)"
         R"(  <div eID="gen3" type="x-p"/>)",
         R"(darkness.{N TEX="the light…: Heb. LORD 'x'"}*{/N})"},
        // A blank before the note moves after the marker.
        {"blank before a note", R"(sin <note><reference>2.1 </reference>or, {b}</note>and)",
         R"x(sin{N TEX="or, (b)"}*{/N} and)x"},
        {"cross reference", R"(is<note type="crossReference"><reference>1.1</reference></note>.)",
         "is."},
        {"empty note", R"(a<note><reference>1.1 </reference> </note> b)", "a b"},
        {"psalm title",
         R"(<div sID="pv1"/><title canonical="true" type="psalm">To the chief )"
         R"(<w>Musician</w>, <transChange type="added">A Psalm</transChange> of )"
         R"(David.</title> <lg sID="g"/> <l sID="h"/>LORD, how)",
         "{H}To the chief Musician, {F VAL=I}A Psalm{/F} of David.{/H}LORD, how"},
        // Psalm 119 letter headings are untyped titles before the text.
        {"psalm 119 letter",
         R"(<chapter n="119"/> <title><foreign>ALEPH.</foreign></title> <lg sID="a"/>Blessed)",
         "{H}ALEPH.{/H}Blessed"},
        {"book title", R"(<title level="1" type="main">The First Book of Moses</title> In)", "In"},
        // Subscriptions after the last verse of an epistle are not verse text.
        {"subscription",
         R"(Amen.  <chapter eID="Rom.16"/> <title>Written to the Romans, )"
         R"(<transChange type="added">and sent</transChange> by Phebe.</title>)",
         "Amen."},
        {"entities", "a &amp; b &lt;c&gt; &quot;d&quot; &apos;e&apos; &#233; &#x2019; &bogus; &",
         "a & b <c> \"d\" 'e' é ’ &bogus; &"},
        {"white space", " \t a \n\n b  <w>c</w>   d\r\n ", "a b c d"},
        {"line breaks", "word<l/>next<lb/>last", "word next last"},
        {"braces", "{x} &#123;y&#125;", "(x) (y)"},
        {"a lone angle bracket", "a < b", "a < b"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(osisToMarkup(row.osis), row.markup) << row.name;
}

TEST(ReadKjvImp, ReadsVersesAndCarriesHeadings) {
    EXPECT_EQ(
        rows(readString("$$$[ Module Heading ]\n\n"
                        "$$$[ Testament 1 Heading ]\n<milestone n=\"x\"/>\n"
                        "$$$Psalms 0:0\n<title level=\"1\" type=\"main\">Psalms</title>\n"
                        "$$$Psalms 119:0\n<chapter n=\"119\"/> <title><foreign>ALEPH.</foreign>"
                        "</title>\n$$$Psalms 119:01\nBlessed <transChange type=\"added\">are"
                        "</transChange>\r\nthe undefiled\n$$$I Samuel 1:2\nAnd\n"
                        "$$$Revelation of John 22:21\n")),
        (std::vector<std::string>{"psa 119:1 {H}ALEPH.{/H}Blessed {F VAL=I}are{/F} the undefiled",
                                  "1sa 1:2 And", "rev 22:21 "}));
}

// What is dropped and how it is told is LetterFit's; here, that the reader tells it.
TEST(ReadKjvImp, TellsHowManyHebrewLettersItLeftOut) {
    std::istringstream in("$$$Psalms 119:1\n<title><foreign>\u05D0 ALEPH.</foreign></title>B\n");
    std::vector<std::string> notices;
    readKjvImp(in, "kjv.imp", [&](const std::string& n) { notices.push_back(n); });
    EXPECT_EQ(notices, std::vector<std::string>{
                           "1 Hebrew letters and points dropped, e.g. psa 119:1 U+05D0 '\u05D0'"});
}

TEST(ReadKjvImp, ReportsBadInputWithFileAndLine) {
    EXPECT_EQ(errorOf("$$$Genesis 1:1\nx\n$$$Genessis 1:2\ny\n"),
              "kjv.imp: unknown book \"Genessis\"");
    EXPECT_EQ(errorOf("\n$$$Genesis 1\n"), "kjv.imp:2: malformed record header \"Genesis 1\"");
    EXPECT_EQ(errorOf("$$$Genesis 1:x\n"), "kjv.imp:1: malformed record header \"Genesis 1:x\"");
    EXPECT_EQ(errorOf("$$$1:1\n"), "kjv.imp:1: malformed record header \"1:1\"");
    EXPECT_EQ(errorOf("stray\n$$$Genesis 1:1\n"), "kjv.imp:1: text before the first record header");
}

TEST(ReadImp, HeadingRecordsGiveOnlyTheirOwnTitles) {
    // A module's heading records carry introductions and, where its versification has no
    // room, whole books; only the titles of the book at hand reach the next verse.
    std::istringstream in(
        "$$$Genesis 0:0\n<div type=\"front\" sID=\"a\"/>What the Bible is.<title>Preface</title>"
        "<div type=\"book\" osisID=\"Gen\" sID=\"b\"/>\n$$$Genesis 1:1\nIn the beginning\n"
        "$$$Hosea 0:0\n<div type=\"book\" osisID=\"DanGr\" sID=\"c\"/><chapter osisID=\"DanGr.1\""
        " sID=\"DanGr.1\"/><title>THE SONG</title>Text of another book.\n"
        "$$$Hosea 1:1\nThe word<note>a note</note>that came\n"
        "$$$Psalms 1:0\n<chapter osisID=\"Ps.1\" sID=\"Ps.1\"/> <title>BOOK 1</title>\n"
        "$$$Psalms 1:1\nBlessed <q who=\"Jesus\">is</q>\n"
        "$$$Tobit 1:1\n<div type=\"section\" sID=\"d\"/><title>Tobit's family</title>The book\n");
    const qel::mkdb::ImportedText text = qel::mkdb::readImp(in, "m.imp");
    // A word after a footnote marker stays a word of its own.
    EXPECT_EQ(rows(text.verses),
              (std::vector<std::string>{
                  "gen 1:1 In the beginning", "hos 1:1 The word{N TEX=\"a note\"}*{/N} that came",
                  "psa 1:1 {H}BOOK 1{/H}Blessed {W VAL=J}is{/W}", "tob 1:1 The book"}));
    ASSERT_EQ(text.titles.size(), 1u);
    EXPECT_EQ(text.titles[0].book, "tob");
    EXPECT_EQ(text.titles[0].body, "Tobit's family [1:1]");
}
