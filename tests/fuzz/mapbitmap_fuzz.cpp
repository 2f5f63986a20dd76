// Map bitmaps come from files on disk that may be damaged: any bytes must load or be
// refused without reading outside the file, and every pixel of a loaded bitmap must be
// readable.
#include "fuzzcheck.h"
#include "reference/mapbitmap.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bitmap = qel::parseDibFile(std::span<const std::uint8_t>(data, size));
    if (!bitmap)
        return 0;
    check(bitmap->pixels.size() ==
          static_cast<std::size_t>(bitmap->stride) * static_cast<std::size_t>(bitmap->height));
    // Reading a bounded sample keeps huge but valid bitmaps quick.
    std::uint32_t sum = 0;
    for (int y = 0; y < bitmap->height && y < 64; ++y)
        for (int x = 0; x < bitmap->width && x < 64; ++x)
            sum += bitmap->pixel(x, y);
    sum += bitmap->pixel(bitmap->width - 1, bitmap->height - 1);
    return static_cast<int>(sum & 0);
}
