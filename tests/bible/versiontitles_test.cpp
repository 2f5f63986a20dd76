#include "bible/versiontitles.h"

#include "bible/editions.h"
#include "compare/parallelpage.h"
#include "platform/codec.h"

#include <gtest/gtest.h>
#include <set>

namespace qel {
namespace {

std::string cp(std::string_view utf8) {
    return utf8ToCp949(utf8);
}

const std::string kUnknown = "unknwon";

TEST(VersionTitles, ShortTitles) {
    EXPECT_EQ(versionShortTitle("KJV"), "KJV");
    EXPECT_EQ(versionShortTitle("TEV"), "TEV");
    EXPECT_EQ(versionShortTitle("VRA"), cp("역본 가"));
    EXPECT_EQ(versionShortTitle("VRD"), cp("해설서 라"));
    EXPECT_EQ(versionShortTitle("XYZ"), kUnknown);
    EXPECT_EQ(versionShortTitle("vra"), kUnknown);
    EXPECT_EQ(versionShortTitle(""), kUnknown);
}

} // namespace
} // namespace qel

namespace qel {
namespace {

TEST(VersionTitles, FullTitles) {
    EXPECT_EQ(versionFullTitle("VRA"), cp("성경전서 역본 가"));
    EXPECT_EQ(versionFullTitle("GNB"), "Today's English Version");
    EXPECT_EQ(versionFullTitle("TEV"), "Today's English Version");
    EXPECT_EQ(versionFullTitle("VRX"), kUnknown);
}

TEST(VersionTitles, NoteVersionIndexSwapsVrbAndVrc) {
    EXPECT_EQ(noteVersionIndex("VRA"), 0);
    EXPECT_EQ(noteVersionIndex("VRC"), 1);
    EXPECT_EQ(noteVersionIndex("VRB"), 2);
    EXPECT_EQ(noteVersionIndex("TEV"), 6);
    EXPECT_EQ(noteVersionIndex("GNB"), -1);
    EXPECT_EQ(noteVersionIndex("VRD"), -1);
}

TEST(VersionTitles, BookNumbersLeaveGapsBetweenTheParts) {
    EXPECT_EQ(bookNumber("gen"), 1);
    EXPECT_EQ(bookNumber("mal"), 39);
    EXPECT_EQ(bookNumber("tob"), 41);
    EXPECT_EQ(bookNumber("pra"), 55);
    EXPECT_EQ(bookNumber("mat"), 61);
    EXPECT_EQ(bookNumber("1co"), 67);
    EXPECT_EQ(bookNumber("rev"), 87);
    EXPECT_EQ(bookNumber("xyz"), 99);
    EXPECT_EQ(bookNumber("Gen"), 99);
}

// Every position is a numbering without gaps or repeats, so that no two editions share a row
// of the parallel window, a note sort number, a word index or a place in synchronised moves.
TEST(EditionTable, PositionsNumberTheirEditionsFromZero) {
    for (int Edition::*position :
         {&Edition::parallelIndex, &Edition::noteIndex, &Edition::wordIndex, &Edition::syncOrder}) {
        const std::vector<const Edition*> editions = editionsBy(position);
        for (int i = 0; i < static_cast<int>(editions.size()); ++i) {
            EXPECT_EQ(editions[i]->*position, i) << editions[i]->code;
            EXPECT_EQ(editionAt(position, i), editions[i]);
        }
        EXPECT_EQ(editionAt(position, static_cast<int>(editions.size())), nullptr);
    }
    EXPECT_EQ(static_cast<int>(editionsBy(&Edition::parallelIndex).size()), kParallelVersions);
    EXPECT_EQ(editionsBy(&Edition::syncOrder).size(), editionTable().size());
    std::set<int> commands, items;
    for (const Edition& e : editionTable()) {
        EXPECT_TRUE(commands.insert(e.menuCommand).second) << e.code;
        EXPECT_TRUE(items.insert(e.shortcutItem).second) << e.code;
        EXPECT_EQ(e.verseIndex, std::string_view(e.code) == kKoreanEdition) << e.code;
    }
}

TEST(EditionTable, TheAliasFindsItsSlotWhereTheListsKnowIt) {
    const Edition* gnb = findEdition("GNB");
    ASSERT_NE(gnb, nullptr);
    EXPECT_EQ(findEdition("TEV"), gnb);
    EXPECT_EQ(findListedEdition("TEV"), gnb);
    EXPECT_EQ(findListedEdition("GNB"), nullptr);
    EXPECT_EQ(editionSlot("TEV"), "GNB");
    EXPECT_EQ(editionSlot("tev"), "");
    EXPECT_TRUE(isEditionSlot("GNB"));
    EXPECT_FALSE(isEditionSlot("TEV"));
    EXPECT_EQ(parallelVersionCode(gnb->parallelIndex), "TEV");
}

} // namespace
} // namespace qel
