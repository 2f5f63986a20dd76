#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qel {

// A device-independent bitmap as the map files store it: the info header's fields that
// matter, the colour table, and the pixel rows (bottom-up unless the height was negative).
struct DibBitmap {
    std::uint32_t headerSize = 0;
    int width = 0;
    int height = 0; // rows; always positive
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t masks[3] = {}; // red, green, blue with bit-field compression
    // Colours used, or 2 to the power of the bits per pixel.
    std::uint64_t colourCount = 0;
    std::vector<std::uint32_t> colourTable; // 0x00RRGGBB
    std::vector<std::uint8_t> pixels;
    int stride = 0; // bytes per pixel row, a multiple of 4

    // Up to 256 colours the bitmap brings its own palette; beyond, the screen's halftone one.
    bool usesHalftonePalette() const { return colourCount > 256; }
    // Pixel (x, y) counted from the top left, as 0xFFRRGGBB.
    std::uint32_t pixel(int x, int y) const;
};

// Parses the bytes of a whole ".bmp" file. Damaged or unsupported data gives nothing.
std::optional<DibBitmap> parseDibFile(std::span<const std::uint8_t> file);
// Reads and parses a file; a missing, short or damaged file gives nothing.
std::optional<DibBitmap> loadDibFile(const std::string& path);

} // namespace qel
