#include "bible/versiontitles.h"

#include "bible/editions.h"
#include "compare/parallelpage.h"
#include "platform/codec.h"

#include <gtest/gtest.h>
#include <set>

namespace qel {
namespace {

TEST(VersionTitles, AliasesAndUnknownCodes) {
    // The historic misspelling is what the windows and lists show for an unknown code.
    for (const char* code : {"XYZ", "vra", ""}) {
        EXPECT_EQ(versionShortTitle(code), "unknwon") << code;
        EXPECT_EQ(versionFullTitle(code), "unknwon") << code;
    }
    // A verse copied in the GNB window is cited as TEV, not as an unknown edition.
    EXPECT_EQ(versionShortTitle("GNB"), "TEV");
    EXPECT_EQ(versionShortTitle("VRD"), utf8ToCp949("해설서 라"));
}

TEST(VersionTitles, NoteOrderSwapsVrbAndVrcAndLeavesGapsBetweenTheParts) {
    EXPECT_EQ(noteVersionIndex("VRC"), 1);
    EXPECT_EQ(noteVersionIndex("VRB"), 2);
    EXPECT_EQ(noteVersionIndex("TEV"), 6);
    EXPECT_EQ(noteVersionIndex("GNB"), -1);
    EXPECT_EQ(noteVersionIndex("VRD"), -1);
    const std::pair<const char*, int> numbers[] = {{"mal", 39}, {"tob", 41}, {"mat", 61},
                                                   {"rev", 87}, {"xyz", 99}, {"Gen", 99}};
    for (const auto& [code, number] : numbers)
        EXPECT_EQ(bookNumber(code), number) << code;
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
