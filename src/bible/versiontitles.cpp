#include "bible/versiontitles.h"

#include "bible/booktable.h"
#include "platform/codec.h"

#include <algorithm>
#include <array>
#include <mutex>

namespace qel {
namespace {

struct TitleRow {
    std::string_view code;
    std::string shortTitle;
    std::string fullTitle;
};

// Lookups try the rows in this order.
const std::array<TitleRow, 8>& titleTable() {
    static const std::array<TitleRow, 8> table{{
        {"VRA", utf8ToCp949("역본 가"), utf8ToCp949("성경전서 역본 가")},
        {"VRB", utf8ToCp949("역본 나"), utf8ToCp949("역본 나 성서")},
        {"VRE", utf8ToCp949("역본 마"), utf8ToCp949("성경전서 역본 마")},
        {"VRD", utf8ToCp949("해설서 라"), utf8ToCp949("해설 전서 라")},
        {"VRC", utf8ToCp949("역본 다"), utf8ToCp949("성경전서 역본 다")},
        {"KJV", "KJV", "King James Version"},
        {"NIV", "NIV", "New International Version"},
        {"TEV", "TEV", "Today's English Version"},
    }};
    return table;
}

template <typename Match> const TitleRow* findTitle(Match match) {
    const auto& table = titleTable();
    const auto it = std::find_if(table.begin(), table.end(), match);
    return it == table.end() ? nullptr : &*it;
}

std::string orUnknown(const TitleRow* row, std::string TitleRow::*field) {
    return row ? row->*field : std::string(kUnknownTitle);
}

std::mutex& namesMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, EditionName, std::less<>>& editionNames() {
    static std::map<std::string, EditionName, std::less<>> names;
    return names;
}

// The edition's own name of a slot ("TEV" is the GNB slot).
std::optional<EditionName> ownName(std::string_view code) {
    if (code == "TEV")
        code = "GNB";
    std::lock_guard lock(namesMutex());
    const auto it = editionNames().find(code);
    return it == editionNames().end() ? std::nullopt : std::optional(it->second);
}

} // namespace

void setEditionNames(std::map<std::string, EditionName, std::less<>> names) {
    std::lock_guard lock(namesMutex());
    editionNames() = std::move(names);
}

std::string editionWindowTitle(std::string_view code) {
    if (const auto own = ownName(code))
        return own->fullTitle;
    for (const VersionInfo& v : bibleVersions())
        if (v.code == code || (code == "TEV" && std::string_view(v.code) == "GNB"))
            return v.windowTitle;
    return std::string(code);
}

std::string versionShortTitle(std::string_view code) {
    if (const auto own = ownName(code))
        return own->shortTitle;
    return orUnknown(findTitle([&](const TitleRow& row) { return row.code == code; }),
                     &TitleRow::shortTitle);
}

std::string versionFullTitle(std::string_view code) {
    if (code == "GNB")
        code = "TEV";
    if (const auto own = ownName(code))
        return own->fullTitle;
    return orUnknown(findTitle([&](const TitleRow& row) { return row.code == code; }),
                     &TitleRow::fullTitle);
}

int noteVersionIndex(std::string_view code) {
    static constexpr std::array<std::string_view, 7> kOrder{"VRA", "VRC", "VRB", "VRE",
                                                            "KJV", "NIV", "TEV"};
    const auto it = std::find(kOrder.begin(), kOrder.end(), code);
    return it == kOrder.end() ? -1 : static_cast<int>(it - kOrder.begin());
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
    const std::vector<BookRow>& standard = bookTableOf("VRA");
    const auto it = std::find_if(standard.begin(), standard.end(),
                                 [&](const BookRow& row) { return row.code == bookCode; });
    if (it == standard.end())
        return 99;
    const int position = static_cast<int>(it - standard.begin());
    return position < kOldTestamentBooks ? position + 1 : position - kOldTestamentBooks + 61;
}

std::optional<std::string> bookNameOfAbbreviation(std::string_view versionCode,
                                                  std::string_view abbreviation) {
    static constexpr std::array<std::string_view, 7> kTables{"VRA", "VRB", "VRC", "VRE",
                                                             "KJV", "NIV", "TEV"};
    if (std::find(kTables.begin(), kTables.end(), versionCode) == kTables.end())
        return std::nullopt;
    for (const BookRow& row : bookTableOf(versionCode))
        if (row.abbreviation == abbreviation)
            return row.name;
    return std::nullopt;
}

} // namespace qel
