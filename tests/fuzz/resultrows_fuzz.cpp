#include "fuzzcheck.h"
#include "platform/codec.h"
#include "searchui/searchforms.h"
#include "widgets/gridtext.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace qel;

namespace {

bool isSuffix(std::string_view whole, std::string_view part) {
    return whole.size() >= part.size() && whole.substr(whole.size() - part.size()) == part;
}

// Walking by characters from the start meets the end exactly.
bool endsOnCharacter(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size())
        i += isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    return i == s.size();
}

void checkSpans(std::string_view text, const std::vector<TextSpan>& spans) {
    std::size_t end = 0;
    for (const TextSpan& s : spans) {
        check(s.length > 0 && s.start >= end && s.start + s.length <= text.size());
        end = s.start + s.length;
    }
}

} // namespace

// The grid's reading of cells and the dialogs' forms of result rows, over any bytes: the
// input is split at its first NUL into a cell or verse and a query or position text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view text = input.substr(0, nul);
    const std::string_view other =
        nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);

    const HitPositionCell cell = splitHitPositions(text);
    check(isSuffix(text, cell.text));
    const std::string shown = cutCellText(cell.text);
    check(shown.size() <= kGridCellTextLimit + 4);
    if (shown.size() > kGridCellTextLimit)
        check(endsOnCharacter(shown.substr(0, shown.size() - 4)));
    checkSpans(shown, positionSpans(shown, cell.positions));
    for (bool phrase : {false, true})
        for (bool whole : {false, true})
            checkSpans(shown, wordSpans(shown, {std::string(other), phrase, whole}));

    const std::string row = verseRowCell(text, other, true);
    check(row.find('|') != std::string::npos);
    const WordReference reference = splitWordReference(text);
    check(reference.book.size() + reference.chapter.size() + reference.verse.size() <=
          text.size() + 1);
    for (int mode = 0; mode <= 2; ++mode) {
        check(isSuffix(text, centredWordText(text, other, mode, 0, true)));
        wordQueryText(normaliseSearchQuery(other), mode, 1);
        verseQuery(other, mode);
    }
    return 0;
}
