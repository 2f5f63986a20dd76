#include "mkdb/datasources.h"

#include "../support/swordrepository.h"
#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace qel::mkdb;

namespace {

std::string errorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const SourceError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(DataSources, ReadsAFolderInCanonicalBookOrder) {
    TempDir dir;
    writeTextFile(dir.path() / "text/VRB/jhn.txt", "# comment\n3:16\t사랑\r\n");
    writeTextFile(dir.path() / "text/VRB/tob.txt", "1:1\t토비트\n");
    writeTextFile(dir.path() / "text/VRB/gen.txt", "\n1:1\t처음\n1:3-5\t빛\n");
    writeTextFile(dir.path() / "titles/VRB.txt", "gen\t창조 [1:1]\n");
    writeTextFile(dir.path() / "ref.txt", "jhn 3:16\t{A TAR=BVRAjhn003016}요 3:16{/A}\n");
    writeTextFile(dir.path() / "articles/ETC.txt", "E일러두기\t본문\n");
    const ContentSources s = readDataFolder(dir.path());
    // The deuterocanon between the testaments; the CR of a CRLF line dropped.
    std::string vrb;
    for (const SourceVerse& v : s.versions.at("VRB"))
        vrb += v.book + " " + v.chapter + ":" + v.verse + " " + v.body + "|";
    EXPECT_EQ(vrb, "gen 1:1 처음|gen 1:3-5 빛|tob 1:1 토비트|jhn 3:16 사랑|");
    EXPECT_EQ(s.titles.at("VRB").at(0).book, "gen");
    EXPECT_EQ(s.related.at(0).verse, "16");
    EXPECT_EQ(s.articles.at("ETC").at(0).id, "E일러두기");
}

TEST(DataSources, MalformedInputNamesFileAndLine) {
    TempDir dir;
    const auto f = dir.path() / "gen.txt";
    writeTextFile(f, "1:1\tok\n1-1\tbad place\n");
    EXPECT_EQ(errorOf([&] { readVerseFile(f, "gen"); }),
              f.string() + ":2: bad place '1-1' (expected CHAP:VERSE)");
    writeTextFile(f, "1:1\tok\n\n1:2\ta\tb\n");
    EXPECT_EQ(errorOf([&] { readVerseFile(f, "gen"); }),
              f.string() + ":3: expected 2 fields separated by single TABs");
    writeTextFile(f, "1:1\t\xF0\x9F\x98\x80\n");
    EXPECT_EQ(errorOf([&] { readVerseFile(f, "gen"); }),
              f.string() + ":1: text that CP949 cannot hold");
    EXPECT_NE(errorOf([&] { readVerseFile(f, "xyz"); }).find("unknown book code 'xyz'"),
              std::string::npos);
    const auto t = dir.path() / "VRA.txt";
    writeTextFile(t, "gen\t제목 없음\n");
    EXPECT_EQ(errorOf([&] { readTitleFile(t); }),
              t.string() + ":1: a section title must end with its place, e.g. [3:16]");
    EXPECT_NE(
        errorOf([&] { readVerseFile(dir.path() / "missing.txt", "gen"); }).find(":0: cannot read"),
        std::string::npos);
}
