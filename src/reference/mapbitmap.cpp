#include "reference/mapbitmap.h"

#include <bit>
#include <fstream>
#include <iterator>

namespace qel {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint16_t kBitmapMagic = 19778; // "BM"
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
// Far beyond any map; keeps a damaged header from asking for gigabytes.
constexpr std::uint64_t kMaxFileSize = 256u << 20;
constexpr int kMaxSide = 32768;

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
           std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

std::uint16_t read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint16_t(bytes[at] | bytes[at + 1] << 8);
}

// The 8-bit value of a bit-field channel.
std::uint32_t channel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::popcount(mask);
    const std::uint32_t bits = (value & mask) >> shift;
    if (width >= 8)
        return bits >> (width - 8);
    const std::uint32_t top = (1u << width) - 1;
    return bits * 255 / top;
}

} // namespace

std::uint32_t DibBitmap::pixel(int x, int y) const {
    const int row = topDown ? y : height - 1 - y;
    const std::uint8_t* line = pixels.data() + std::size_t(row) * std::size_t(stride);
    std::uint32_t rgb = 0;
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8: {
        const int bitOffset = x * bitsPerPixel;
        const int shift = 8 - bitsPerPixel - bitOffset % 8;
        const unsigned index = (line[bitOffset / 8] >> shift) & ((1u << bitsPerPixel) - 1);
        rgb = index < colourTable.size() ? colourTable[index] : 0;
        break;
    }
    case 16: {
        const std::uint32_t value = std::uint32_t(line[x * 2] | line[x * 2 + 1] << 8);
        if (compression == kBitFields)
            rgb = channel(value, masks[0]) << 16 | channel(value, masks[1]) << 8 |
                  channel(value, masks[2]);
        else
            rgb =
                channel(value, 0x7C00) << 16 | channel(value, 0x03E0) << 8 | channel(value, 0x001F);
        break;
    }
    case 24:
        rgb = std::uint32_t(line[x * 3 + 2]) << 16 | std::uint32_t(line[x * 3 + 1]) << 8 |
              line[x * 3];
        break;
    case 32: {
        const std::uint32_t value =
            std::uint32_t(line[x * 4]) | std::uint32_t(line[x * 4 + 1]) << 8 |
            std::uint32_t(line[x * 4 + 2]) << 16 | std::uint32_t(line[x * 4 + 3]) << 24;
        rgb = compression == kBitFields
                  ? channel(value, masks[0]) << 16 | channel(value, masks[1]) << 8 |
                        channel(value, masks[2])
                  : value & 0xFFFFFF;
        break;
    }
    default:
        break;
    }
    return 0xFF000000u | rgb;
}

std::optional<DibBitmap> parseDibFile(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize || read16(file, 0) != kBitmapMagic)
        return std::nullopt;
    const std::span<const std::uint8_t> data = file.subspan(kFileHeaderSize);
    if (data.size() < 40)
        return std::nullopt;
    DibBitmap dib;
    dib.headerSize = read32(data, 0);
    // Only the Windows info headers (40 bytes and their longer versions) carry the fields.
    if (dib.headerSize < 40 || dib.headerSize > data.size())
        return std::nullopt;
    const auto width = std::int32_t(read32(data, 4));
    const auto height = std::int32_t(read32(data, 8));
    const int planes = read16(data, 12);
    dib.bitsPerPixel = read16(data, 14);
    dib.compression = read32(data, 16);
    const std::uint32_t coloursUsed = read32(data, 32);
    if (planes != 1 || width <= 0 || width > kMaxSide || height == 0 || height < -kMaxSide ||
        height > kMaxSide)
        return std::nullopt;
    dib.width = width;
    dib.topDown = height < 0;
    dib.height = height < 0 ? -height : height;
    switch (dib.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (dib.compression != kRgb)
            return std::nullopt;
        break;
    case 16:
    case 32:
        if (dib.compression != kRgb && dib.compression != kBitFields)
            return std::nullopt;
        break;
    default:
        return std::nullopt;
    }
    dib.colourCount = coloursUsed != 0 ? coloursUsed : std::uint64_t(1) << dib.bitsPerPixel;
    // A colour table is stored for the indexed depths, and for the others only when the
    // header counts one. A 24-bit file counts 2^24 colours but stores no table of them.
    std::uint64_t tableEntries = dib.bitsPerPixel <= 8 ? dib.colourCount : coloursUsed;
    if (dib.bitsPerPixel <= 8 && dib.colourCount > (std::uint64_t(1) << dib.bitsPerPixel))
        return std::nullopt;
    std::uint64_t offset = dib.headerSize;
    if (dib.compression == kBitFields) {
        // The three masks follow a 40-byte header and lie inside the longer ones.
        if ((dib.headerSize != 40 && dib.headerSize < 52) || data.size() < 52)
            return std::nullopt;
        if (dib.headerSize == 40)
            offset += 12;
        for (int i = 0; i < 3; ++i)
            dib.masks[i] = read32(data, 40 + 4 * std::size_t(i));
    }
    const std::uint64_t tableStart = offset;
    offset += 4 * tableEntries;
    if (offset > data.size())
        return std::nullopt;
    dib.stride = int((std::uint64_t(dib.width) * dib.bitsPerPixel + 31) / 32 * 4);
    const std::uint64_t pixelBytes = std::uint64_t(dib.stride) * std::uint64_t(dib.height);
    if (pixelBytes > data.size() - offset)
        return std::nullopt;
    dib.colourTable.reserve(tableEntries);
    for (std::uint64_t i = 0; i < tableEntries; ++i)
        dib.colourTable.push_back(read32(data, tableStart + 4 * i) & 0xFFFFFF);
    dib.pixels.assign(data.begin() + std::ptrdiff_t(offset),
                      data.begin() + std::ptrdiff_t(offset + pixelBytes));
    return dib;
}

std::optional<DibBitmap> loadDibFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    const std::streamoff length = in.tellg();
    if (length < 0 || std::uint64_t(length) > kMaxFileSize)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length))
        return std::nullopt;
    return parseDibFile(bytes);
}

} // namespace qel
