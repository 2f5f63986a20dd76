#include "bible/versiontitles.h"

#include "bible/booktable.h"
#include "bible/editions.h"

#include <algorithm>
#include <array>

namespace qel {

std::string editionWindowTitle(std::string_view code) {
    if (const auto own = ownEditionName(code))
        return own->fullTitle;
    const Edition* edition = findEdition(code);
    return edition ? edition->windowTitle : std::string(code);
}

std::string versionShortTitle(std::string_view code) {
    if (const auto own = ownEditionName(code))
        return own->shortTitle;
    // The GNB window cites under the alias the lists know it by.
    const Edition* edition = findEdition(code);
    return edition ? edition->shortTitle : std::string(kUnknownTitle);
}

std::string versionFullTitle(std::string_view code) {
    if (const auto own = ownEditionName(code))
        return own->fullTitle;
    const Edition* edition = findEdition(code);
    return edition ? edition->fullTitle : std::string(kUnknownTitle);
}

int noteVersionIndex(std::string_view code) {
    const Edition* edition = findListedEdition(code);
    return edition ? edition->noteIndex : -1;
}

int bookNumber(std::string_view bookCode) {
    static constexpr std::array<std::string_view, 15> kDeuterocanonical{
        "tob", "jdt", "gke", "wsd", "sir", "bar", "ba1", "da1",
        "da2", "da3", "1ma", "2ma", "1es", "2es", "pra"};
    static constexpr int kOldTestamentBooks = 39;
    if (const auto it = std::find(kDeuterocanonical.begin(), kDeuterocanonical.end(), bookCode);
        it != kDeuterocanonical.end())
        return 41 + static_cast<int>(it - kDeuterocanonical.begin());
    // The standard table holds the 66 books in canonical order.
    const std::vector<BookRow>& standard = bookTableOf(kKoreanEdition);
    const auto it = std::find_if(standard.begin(), standard.end(),
                                 [&](const BookRow& row) { return row.code == bookCode; });
    if (it == standard.end())
        return 99;
    const int position = static_cast<int>(it - standard.begin());
    return position < kOldTestamentBooks ? position + 1 : position - kOldTestamentBooks + 61;
}

} // namespace qel
