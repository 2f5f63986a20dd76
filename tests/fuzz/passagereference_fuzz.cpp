// Passage references of the comparison grammars and of the short topics must take any bytes: a book
// code is at most three characters and its heading is the rest of the text it came from.
#include "compare/passagereference.h"
#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void checkSpans(std::string_view text, const std::vector<qel::VerseSpan>& spans) {
    for (const qel::VerseSpan& span : spans) {
        check(span.book.size() <= 3 && span.heading.size() < text.size());
        check(span.heading.empty() ||
              text.find(span.book + span.heading) != std::string_view::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkSpans(text, qel::readGospelReferences(text));
    checkSpans(text, qel::readHistoryReferences(text));
    checkSpans(text, qel::readBookReferences(text));
    return 0;
}
