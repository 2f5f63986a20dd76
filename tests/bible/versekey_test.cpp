#include "bible/versekey.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(VerseKey, KeysPadTheirNumbers) {
    EXPECT_EQ(verseKey("psa", "119", "176"), "psa119176");
    EXPECT_EQ(verseKey("gen", "3", "3-5"), "gen003003");
    EXPECT_EQ(verseKey("gen", "", "x"), "gen000000");
    EXPECT_EQ(verseKey("gen", 1234, 5), "gen1234005");
    EXPECT_EQ(fullVerseKey("VRA", "gen", "10", "12"), "VRAgen010012");
    EXPECT_EQ(fullVerseKey("VRB", "psa", "119", "10-12"), "VRBpsa11910-12");
    EXPECT_EQ(zeroPad3(""), "000");
    EXPECT_EQ(zeroPad3("1234"), "1234");
}

TEST(VerseKey, ParseFullVerseKey) {
    EXPECT_EQ(parseFullVerseKey("KJV1jn001001"), (FullVerseKey{"KJV", "1jn", "1", "1"}));
    EXPECT_EQ(parseFullVerseKey("VRApsa100100"), (FullVerseKey{"VRA", "psa", "100", "100"}));
    EXPECT_EQ(parseFullVerseKey("VRBpsa11910-12"), (FullVerseKey{"VRB", "psa", "119", "10-12"}));
    // All-zero fields are stripped to nothing, so that the window falls back to its first
    // chapter and its last verse.
    EXPECT_EQ(parseFullVerseKey("VRApsa003000"), (FullVerseKey{"VRA", "psa", "3", ""}));
    EXPECT_EQ(parseFullVerseKey("VRAgen000000"), (FullVerseKey{"VRA", "gen", "", ""}));
    EXPECT_EQ(parseFullVerseKey("VRAgen01001"), std::nullopt);
    EXPECT_EQ(parseFullVerseKey(""), std::nullopt);
}

TEST(VerseKey, StoredForm) {
    EXPECT_TRUE(isVerseKey("1jn004008"));
    EXPECT_TRUE(isVerseKey(verseKey("rom", "12", "3-5")));
    for (const std::string bad : {"jhn3", "gen0010011", "Gen001001", "gen00100x", "gen 01001", ""})
        EXPECT_FALSE(isVerseKey(bad)) << bad;
    EXPECT_FALSE(isVerseKey(std::string(1000, '1')));
}

TEST(CommandKey, Parse) {
    EXPECT_EQ(parseCommandKey("BVRAjhn003016"), (CommandKey{'B', "VRAjhn003016", "VRA"}));
    EXPECT_EQ(parseCommandKey("BTEVgen001001"), (CommandKey{'B', "TEVgen001001", "TEV"}));
    EXPECT_EQ(parseCommandKey("BVRBpsa11910-12"), (CommandKey{'B', "VRBpsa11910-12", "VRB"}));
    // A short "B" payload still names a version: it opens at its remembered place.
    EXPECT_EQ(parseCommandKey("BVRAjhn00301"), (CommandKey{'B', "VRAjhn00301", "VRA"}));
    EXPECT_EQ(parseCommandKey("BKJV"), (CommandKey{'B', "KJV", "KJV"}));
    EXPECT_EQ(parseCommandKey("BVR"), (CommandKey{'B', "VR", "VR"}));
    EXPECT_EQ(parseCommandKey("B"), (CommandKey{'B', "", ""}));

    for (char letter : {'C', 'H', 'I', 'M', 'P', 'U', 'W'}) {
        auto key = parseCommandKey(std::string(1, letter) + "42");
        ASSERT_TRUE(key) << letter;
        EXPECT_EQ(key->letter, letter);
        EXPECT_EQ(key->payload, "42");
        EXPECT_EQ(key->version, "");
    }
    EXPECT_EQ(parseCommandKey("Xabc"), std::nullopt);
    EXPECT_EQ(parseCommandKey("bVRAjhn003016"), std::nullopt);
    EXPECT_EQ(parseCommandKey(""), std::nullopt);

    EXPECT_TRUE(isCommandVerseKey("BVRAjhn003016"));
    EXPECT_FALSE(isCommandVerseKey("BVRBpsa11910-12"));
    EXPECT_FALSE(isCommandVerseKey("CVRAjhn003016"));
    EXPECT_FALSE(isCommandVerseKey(""));
}

TEST(CommandKey, ResultListFormats) {
    EXPECT_EQ(verseSearchResultKey("gen", "1", "1"), "BVRAgen001001");
    EXPECT_EQ(verseSearchResultKey("gn", "12", "3-5"), "BVRA gn0123-5");
    EXPECT_EQ(wordSearchResultKey("KJV", "jhn", "3", "16"), "BKJVjhn003016");
    EXPECT_EQ(wordSearchResultKey("VR", "jh", "3", "16"), "B VR jh003016");
    EXPECT_EQ(noteListKey("TEV", "tob", "1", "10"), "BTEVtob001010");
    EXPECT_EQ(noteListKey("VR", "jh", "3", "16"), "BVR jh003016");
    EXPECT_EQ(parallelPlaceKey("rom", "8", "28"), "rom008028");
}

} // namespace
} // namespace qel
