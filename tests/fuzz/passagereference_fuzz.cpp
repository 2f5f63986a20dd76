// Passage references of the comparison grammars and of the short topics must take any bytes: a book
// code is at most three characters and its heading is the rest of the text it came from.
#include "compare/passagereference.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void check(std::string_view text, const std::vector<qel::VerseSpan>& spans) {
    for (const qel::VerseSpan& span : spans) {
        if (span.book.size() > 3 || span.heading.size() >= text.size())
            __builtin_trap();
        if (!span.heading.empty() && text.find(span.book + span.heading) == std::string_view::npos)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(text, qel::readGospelReferences(text));
    check(text, qel::readHistoryReferences(text));
    check(text, qel::readBookReferences(text));
    return 0;
}
