#include "reference/mapbitmap.h"
#include "reference/mapframe.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace qel;

namespace {

MapRect frameOf(const char* key) {
    const auto parsed = parseMapKey(key);
    EXPECT_TRUE(parsed && parsed->frame) << key;
    return parsed && parsed->frame ? *parsed->frame : MapRect{};
}

TEST(MapKeyTest, OneDigitShowsTheMapWithoutFrame) {
    const auto key = parseMapKey("3");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->map, 3);
    EXPECT_FALSE(key->frame);
    // Only a key of exactly seven characters frames a place.
    EXPECT_FALSE(parseMapKey("321450")->frame);
    EXPECT_FALSE(parseMapKey("32145001")->frame);
}

TEST(MapKeyTest, FramesFollowTheGridLines) {
    // Columns 2 to 4, row 5 only, of map 3.
    EXPECT_EQ(frameOf("3214500"), (MapRect{146, 642, 606, 783}));
    // Span "2" narrows by a quarter on each side: (210 - 18) / 4 = 48.
    EXPECT_EQ(frameOf("1121100"), (MapRect{66, 17, 162, 191}));
    // Span "0" ignores the last-cell digit; the last row of map 2 closes at 1195.
    EXPECT_EQ(frameOf("2509808"), (MapRect{592, 991, 783, 1195}));
    // A quarter truncated toward zero: rows 1-3 of map 4 are 17 ... 461, d = 111.
    EXPECT_EQ(frameOf("4101123"), (MapRect{15, 128, 152, 350}));
    // A last cell before the first is the same span the other way round.
    EXPECT_EQ(frameOf("1411101"), frameOf("1114101"));
}

TEST(MapKeyTest, BrokenKeysOpenNothing) {
    for (const char* key : {"", "0", "5", "x", "3914500", "3034500", "3234900", "3210500",
                            "3214530", "32145a0", "3214519"})
        EXPECT_FALSE(parseMapKey(key)) << key;
}

TEST(MapKeyTest, NamesAndFiles) {
    EXPECT_STREQ(mapNameUtf8(5), "");
    EXPECT_EQ(mapFileName("/d/MAP/", 3, 'b'), "/d/MAP/M03b.bmp");
}

TEST(MapScrollTest, ScaleChangeTruncatesAndScrollsStayOnTheMap) {
    // The view keeps the point under the mouse (MapViewTest); truncated: (7 + 10) × 0.5 − 10 =
    // −1.5.
    EXPECT_EQ(scaledScroll(7, 10, 0.5), -1);
    EXPECT_EQ(clampScroll(-1, 600, 400), 0);
    EXPECT_EQ(clampScroll(900, 600, 400), 200);
    EXPECT_EQ(clampScroll(50, 300, 400), 0);
    EXPECT_EQ(centredScroll(146, 460, 800), 146 - 170);
    EXPECT_EQ(centredScroll(146, 460, 300), 146);
    EXPECT_EQ(toSmallScale(783, 600, 1200), 391);
}

// A bitmap file: 14-byte file header, 40-byte info header, colour table, pixel rows.
std::vector<std::uint8_t> bmpFile(int width, int height, int bits, std::uint32_t coloursUsed,
                                  const std::vector<std::uint32_t>& table,
                                  std::uint32_t compression = 0,
                                  const std::vector<std::uint32_t>& masks = {}) {
    std::vector<std::uint8_t> out;
    const auto put16 = [&](unsigned v) {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const int stride = (width * bits + 31) / 32 * 4;
    put16('B' | 'M' << 8);
    for (std::uint32_t v : {0u, 0u, 0u, 40u, std::uint32_t(width), std::uint32_t(height)})
        put32(v);
    put16(1);
    put16(unsigned(bits));
    for (std::uint32_t v : {compression, 0u, 0u, 0u, coloursUsed, 0u})
        put32(v);
    for (const auto* values : {&masks, &table})
        for (std::uint32_t v : *values)
            put32(v);
    for (int row = 0; row < std::abs(height); ++row)
        for (int i = 0; i < stride; ++i)
            out.push_back(std::uint8_t(row * 16 + i));
    return out;
}

TEST(MapBitmapTest, ReadsPaletteAndTrueColourBitmaps) {
    // 8 bits, three colours used: its own palette; row 0 of the file is the bottom row.
    const auto indexed = parseDibFile(bmpFile(3, 2, 8, 3, {0x0000FF, 0x00FF00, 0xFF0000}));
    ASSERT_TRUE(indexed);
    EXPECT_EQ(indexed->colourCount, 3u);
    EXPECT_FALSE(indexed->usesHalftonePalette());
    EXPECT_EQ(indexed->colourTable.size(), 3u);
    EXPECT_EQ(indexed->pixel(0, 1), 0xFF0000FFu); // bottom row, index 0
    EXPECT_EQ(indexed->pixel(2, 1), 0xFFFF0000u); // index 2
    EXPECT_EQ(indexed->pixel(1, 0), 0xFF000000u); // top row: byte 17, out of the table
    // 24 bits: 2^24 colours, the halftone palette, and no colour table in the file.
    const auto rgb = parseDibFile(bmpFile(2, -2, 24, 0, {}));
    ASSERT_TRUE(rgb);
    EXPECT_TRUE(rgb->usesHalftonePalette());
    EXPECT_TRUE(rgb->topDown);
    EXPECT_EQ(rgb->pixel(0, 0), 0xFF020100u);
    EXPECT_EQ(rgb->pixel(1, 1), 0xFF151413u);
    // 32 bits with bit fields: the masks follow the 40-byte header.
    const auto fields =
        parseDibFile(bmpFile(1, 1, 32, 0, {}, 3, {0x0000FF00, 0x00FF0000, 0xFF000000}));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->pixel(0, 0), 0xFF010203u);
}

TEST(MapBitmapTest, DamagedFilesLoadNothing) {
    const auto good = bmpFile(5, 4, 8, 0, std::vector<std::uint32_t>(256, 0x123456));
    ASSERT_TRUE(parseDibFile(good));
    // Every truncation, from an incomplete file header to a missing last pixel byte.
    for (std::size_t size :
         {std::size_t(0), std::size_t(2), std::size_t(13), std::size_t(14), std::size_t(53),
          std::size_t(54), std::size_t(54 + 1023), good.size() - 1}) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + std::ptrdiff_t(size));
        EXPECT_FALSE(parseDibFile(cut)) << size;
    }
    auto notBm = good;
    notBm[0] = 'P';
    EXPECT_FALSE(parseDibFile(notBm));
    // Colour counts the file cannot hold, in the indexed and the true-colour depths.
    EXPECT_FALSE(parseDibFile(bmpFile(5, 4, 8, 0xFFFFFFFF, {})));
    EXPECT_FALSE(parseDibFile(bmpFile(5, 4, 8, 257, std::vector<std::uint32_t>(257))));
    EXPECT_FALSE(parseDibFile(bmpFile(5, 4, 24, 0x40000000, {})));
    // Sizes and depths the loader does not take.
    EXPECT_FALSE(parseDibFile(bmpFile(0, 4, 24, 0, {})));
    EXPECT_FALSE(parseDibFile(bmpFile(5, 0, 24, 0, {})));
    EXPECT_FALSE(parseDibFile(bmpFile(5, 4, 7, 0, {})));
    EXPECT_FALSE(parseDibFile(bmpFile(5, 4, 8, 0, std::vector<std::uint32_t>(256), 1)));
    EXPECT_FALSE(parseDibFile(bmpFile(40000, 1, 24, 0, {})));
    // Bit fields after a header too short to hold them, with the file ending there.
    auto shortFields = bmpFile(1, 1, 32, 0, {}, 3);
    shortFields[14] = 44;
    shortFields.resize(14 + 46);
    EXPECT_FALSE(parseDibFile(shortFields));
    EXPECT_FALSE(loadDibFile("/nonexistent/M01b.bmp"));
}

} // namespace
