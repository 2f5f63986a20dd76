// The Jet `like` shim gets the reader's own text as a pattern (the section-title search):
// any bytes must give an answer, within its step budget. The input is a pattern, a zero
// byte and a value.
#include "fuzzcheck.h"
#include "platform/database.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view pattern = input.substr(0, split);
    const std::string_view value =
        split == std::string_view::npos ? input : input.substr(split + 1);
    std::size_t steps = 0;
    const bool matched = qel::jetLike(pattern, value, 0, &steps);
    check(steps <= (pattern.size() + 1) * (value.size() + 1));
    // A leading star may take nothing, and a star alone takes everything.
    check(!matched || qel::jetLike("*" + std::string(pattern), value));
    check(qel::jetLike("*", value));
    // Without wildcards a text matches itself.
    check(pattern.find_first_of("*?#") != std::string_view::npos || qel::jetLike(pattern, pattern));
    return 0;
}
