#include "richtext/printfilename.h"

#include <gtest/gtest.h>

using qel::pdfFileName;

TEST(PdfFileName, RefusedCharactersBecomeOneBlank) {
    EXPECT_EQ(pdfFileName("역본 나 : 토비트 1 장 "), "역본 나 토비트 1 장.pdf");
    EXPECT_EQ(pdfFileName("KJV : Psalms 119 장 "), "KJV Psalms 119 장.pdf");
    EXPECT_EQ(pdfFileName("a/b\\c*d?e\"f<g>h|i"), "a b c d e f g h i.pdf");
    EXPECT_EQ(pdfFileName("tab\there\nnew\x7f"
                          "del"),
              "tab here new del.pdf");
    EXPECT_EQ(pdfFileName("  ..hidden"), "hidden.pdf");
}

TEST(PdfFileName, NothingLeftGivesADefaultName) {
    EXPECT_EQ(pdfFileName(""), "print.pdf");
    EXPECT_EQ(pdfFileName(" : / "), "print.pdf");
    EXPECT_EQ(pdfFileName("..."), "print.pdf");
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
