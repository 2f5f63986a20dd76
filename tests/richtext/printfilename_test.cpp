#include "richtext/printfilename.h"

#include <gtest/gtest.h>

using qel::pdfFileName;

// A title as the print dialog offers it is PrintTest's; here, what a title may hold.
TEST(PdfFileName, RefusedCharactersBecomeOneBlankAndNothingLeftGivesADefaultName) {
    EXPECT_EQ(pdfFileName("a/b\\c*d?e\"f<g>h|i"), "a b c d e f g h i.pdf");
    EXPECT_EQ(pdfFileName(std::string("tab\there\nnew\x7f") + "del"), "tab here new del.pdf");
    EXPECT_EQ(pdfFileName("  ..hidden"), "hidden.pdf");
    for (const char* empty : {"", " : / ", "..."})
        EXPECT_EQ(pdfFileName(empty), "print.pdf") << empty;
}

TEST(PdfFileName, ALongTitleIsCutWithinTheLimitAtACharacterBoundary) {
    std::string title;
    for (int i = 0; i < 100; ++i)
        title += "장"; // three bytes each
    const std::string name = pdfFileName(title);
    EXPECT_LE(name.size(), 255u);
    EXPECT_GE(name.size(), 250u);
    ASSERT_TRUE(name.ends_with(".pdf"));
    EXPECT_EQ((name.size() - 4) % 3, 0u) << "a character was split";
}
