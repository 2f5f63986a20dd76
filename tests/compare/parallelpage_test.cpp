#include "bible/biblequeries.h"
#include "compare/parallelpage.h"
#include "mkdb/contentbuilder.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qel;

namespace {

std::string label(int index) {
    return "[" + parallelLabel(index) + "]";
}

// Positions of the labels in the page, -1 for those missing.
std::vector<std::size_t> labelPositions(const std::string& markup) {
    std::vector<std::size_t> at;
    for (int i = 0; i < kParallelVersions; ++i)
        at.push_back(markup.find(label(i)));
    return at;
}

const MarkupNode* pieceOf(const MarkupNodeList& list, const std::string& text) {
    const MarkupNode* piece = list.head();
    while (piece && !(piece->isText() && piece->text == text))
        piece = piece->next();
    return piece;
}

std::vector<ParallelRow> allSeven() {
    std::vector<ParallelRow> rows;
    for (int i = 0; i < kParallelVersions; ++i)
        rows.push_back({std::to_string(i), "text" + std::to_string(i)});
    return rows;
}

TEST(ParallelPage, MaskChoosesVersionsInIndexOrder) {
    const std::string all = parallelPage(allSeven(), kAllParallelVersions).markup;
    const std::vector<std::size_t> at = labelPositions(all);
    for (int i = 0; i < kParallelVersions; ++i) {
        ASSERT_NE(at[i], std::string::npos) << i;
        if (i > 0) {
            EXPECT_LT(at[i - 1], at[i]) << i;
        }
    }
    EXPECT_EQ(all.substr(0, all.find("text1")),
              "{F SIZ=1.0 VAL=B COL=000000127}[" + utf8ToCp949("성경전서 역본 가") +
                  "]{/F}{B}{I VAL=6}text0{/I}{B} {B}{F SIZ=1.0 VAL=B COL=000000127}[" +
                  utf8ToCp949("역본 나 성서") + "]{/F}{B}{I VAL=6}");

    // Bit i chooses the version of index i alone; bit 3 is VRE, the fourth of the dialog.
    EXPECT_EQ(parallelPage(allSeven(), 0).markup, "");
    for (int i = 0; i < kParallelVersions; ++i) {
        const std::string one = parallelPage(allSeven(), 1 << i).markup;
        EXPECT_NE(one.find(label(i) + "{/F}{B}{I VAL=6}text" + std::to_string(i)),
                  std::string::npos)
            << i;
        EXPECT_EQ(std::count(one.begin(), one.end(), '['), 1) << i;
    }
    EXPECT_EQ(parallelLabel(3), utf8ToCp949("성경전서 역본 마"));
    // Index digits beyond the seven never show.
    EXPECT_EQ(parallelPage({{"7", "eight"}}, 0xFFFF).markup, "");
}

TEST(ParallelPage, MergedVersesMissingVersionsAndLineEnds) {
    // VRA has 16 and 17 as two rows, VRC has them as one; VRB has none.
    const std::vector<ParallelRow> rows = {
        {"0", "sixteen\r\n"}, {"0", "seventeen\n"}, {"2", "both"}};
    const std::string markup = parallelPage(rows, 0b111).markup;
    EXPECT_EQ(markup.find(label(0)), markup.rfind(label(0)));
    EXPECT_NE(markup.find("{I VAL=6}sixteen  {/I}{B} {B}{I VAL=6}seventeen {/I}{B} {B}"),
              std::string::npos);
    EXPECT_EQ(markup.find('\n'), std::string::npos);
    EXPECT_EQ(markup.find('\r'), std::string::npos);
    // The edition without the verse says so, in its place between the others.
    const std::string missing = label(1) + "{/F}{B}{I VAL=6}" + utf8ToCp949("본문이 없습니다");
    const auto missingAt = markup.find(missing);
    ASSERT_NE(missingAt, std::string::npos);
    EXPECT_LT(markup.find("seventeen"), missingAt);
    EXPECT_LT(missingAt, markup.find("both"));
    // Chosen versions after the last row say so too; a verse nobody has stays empty.
    EXPECT_NE(parallelPage({{"0", "a"}}, 0b1001).markup.find(label(3)), std::string::npos);
    EXPECT_EQ(parallelPage({}, kAllParallelVersions).markup, "");
    EXPECT_EQ(parallelPage({{"3", "a"}}, 0b0111).markup, "");
}

TEST(ParallelPage, BufferKeepsTenBytesFree) {
    const std::string frame = parallelPage({{"0", ""}}, 1).markup;
    const std::size_t capacity = 200;
    const std::string fits(capacity - 10 - frame.size(), 'x');
    ParallelPage page = parallelPage({{"0", fits}}, 1, capacity);
    EXPECT_TRUE(page.complete);
    EXPECT_EQ(page.markup.size(), capacity - 10);

    page = parallelPage({{"0", fits + "x"}}, 1, capacity);
    EXPECT_FALSE(page.complete);
    EXPECT_EQ(page.markup, "");

    // What was gathered before the buffer ran out is kept.
    page = parallelPage({{"0", "first"}, {"1", std::string(kParallelBufferSize, 'y')}, {"2", "z"}},
                        kAllParallelVersions);
    EXPECT_FALSE(page.complete);
    EXPECT_NE(page.markup.find("first"), std::string::npos);
    EXPECT_EQ(page.markup.find('y'), std::string::npos);
    EXPECT_EQ(page.markup.find(label(2)), std::string::npos);
}

TEST(ParallelPage, PlaceKeys) {
    EXPECT_EQ(parseParallelKey("gen00116-17"), (ParallelPlace{"gen", "1", "16-17"}));
    EXPECT_EQ(parseParallelKey("jhn003016"), (ParallelPlace{"jhn", "3", "16"}));
    // The Bible windows' full key names the same place.
    EXPECT_EQ(parseParallelKey("VRAjhn003016"), (ParallelPlace{"jhn", "3", "16"}));
    EXPECT_EQ(parseParallelKey("gen001000"), (ParallelPlace{"gen", "1", ""}));
    EXPECT_FALSE(parseParallelKey(""));

    EXPECT_EQ(sql::parallelVerse("gen", "1", "16-17"),
              "select * from PARALLEL where volcode='gen' and chap='1' and (sec='16' or "
              "sec='17' or sec='16-17') order by VERCODE, rowid");
}

TEST(ParallelPage, VerseUnderAPiece) {
    const std::string page = parallelPage({{"0", "{D}1{/D}first"},
                                           {"4", "{D}1{/D}In the {F VAL=I}beginning{/F} God"},
                                           {"5", "other"}},
                                          kAllParallelVersions)
                                 .markup;
    MarkupNodeList list;
    MarkupParser::parse(&list, page);
    const MarkupNode* piece = pieceOf(list, " God");
    ASSERT_TRUE(piece);
    const std::optional<ParallelVerse> verse = parallelVerseAt(piece);
    ASSERT_TRUE(verse);
    EXPECT_EQ(verse->versionIndex, 4);
    // The verse number is left out; a font run inside the verse does not end it.
    EXPECT_EQ(verse->text, "In the beginning God");
    EXPECT_EQ(parallelVerseAt(list.head()->next())->versionIndex, 0);

    // A narrow pane breaks a long label over two lines: every paragraph still finds its
    // own label, and no label text joins a verse.
    for (MarkupNode* n = list.head(); n; n = n->next())
        if (n->isText() && n->text == "[New International Version]")
            splitAt(n, 5);
    const std::optional<ParallelVerse> niv = parallelVerseAt(pieceOf(list, "other"));
    ASSERT_TRUE(niv);
    EXPECT_EQ(niv->versionIndex, 5);
    EXPECT_EQ(niv->text, "other");
    EXPECT_EQ(parallelVerseAt(piece)->text, "In the beginning God");
}

TEST(ParallelPage, ListsOfAPartialEdition) {
    TempDir dir;
    mkdb::ContentSources sources;
    sources.versions["VRA"] = {{"gen", "1", "1", "a"}};
    sources.versions["VRC"] = {{"exo", "2", "1", "b"}, {"exo", "2", "2", "c"}};
    sources.versions["KJV"] = {
        {"exo", "1", "1", "d"}, {"lev", "1", "1", "e"}, {"lev", "1", "2-4", "f"}};
    const std::string file = (dir.path() / "Bible.m14").string();
    mkdb::buildContentDatabase(sources, file, [](const std::string&) {});
    Database db;
    db.open(file, Database::Mode::ReadOnly);
    EXPECT_EQ(parallelListVersion(db, "gen", kAllParallelVersions), "VRA");
    // The first chosen version that has the book.
    EXPECT_EQ(parallelListVersion(db, "exo", kAllParallelVersions), "VRC");
    EXPECT_EQ(parallelListVersion(db, "exo", 1 << 4), "KJV");
    EXPECT_EQ(parallelListVersion(db, "lev", 0b111), "VRA");

    const std::vector<ParallelRow> rows = parallelRows(db, "exo", "2", "1-2");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].versionCode, "2");
    EXPECT_EQ(rows[1].body.substr(rows[1].body.size() - 2), "c ");
    // A verse inside an edition's merged row reads that row.
    for (const char* verse : {"2", "3", "4"})
        EXPECT_EQ(parallelRows(db, "lev", "1", verse).size(), 1u) << verse;
    EXPECT_TRUE(parallelRows(db, "lev", "1", "5").empty());
    EXPECT_EQ(parallelRows(db, "lev", "1", "1").size(), 1u);
    // An apostrophe stays inside its literal.
    EXPECT_TRUE(parallelRows(db, "g'n", "1", "1").empty());
}

} // namespace
