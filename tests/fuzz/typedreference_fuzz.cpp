// The reference box takes whatever a reader types or pastes: any bytes give a place with a
// known book and numbers in range, or a refusal with a message.
#include "bible/booktable.h"
#include "bible/typedreference.h"
#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qel::TypedReference r = qel::parseTypedReference(text);
    if (r.ok())
        check(qel::isBookCode(r.book) && r.chapter >= 0 && r.chapter <= 999 && r.verse >= 0 &&
              r.verse <= 999 && (r.lastVerse == 0 || r.lastVerse > r.verse));
    else
        check(!qel::typedReferenceMessage(r).empty());
    return 0;
}
