#include "bible/versiontitles.h"

#include "bible/booktable.h"
#include "platform/codec.h"

#include <algorithm>
#include <array>

namespace qel {
namespace {

struct TitleRow {
    std::string code, shortTitle, fullTitle;
};

// Lookups try the rows in this order.
const std::vector<TitleRow>& titleTable() {
    static const std::vector<TitleRow> table{
        {"VRA", utf8ToCp949("역본 가"), utf8ToCp949("성경전서 역본 가")},
        {"VRB", utf8ToCp949("역본 나"), utf8ToCp949("역본 나 성서")},
        {"VRE", utf8ToCp949("역본 마"), utf8ToCp949("성경전서 역본 마")},
        {"VRD", utf8ToCp949("해설서 라"), utf8ToCp949("해설 전서 라")},
        {"VRC", utf8ToCp949("역본 다"), utf8ToCp949("성경전서 역본 다")},
        {"KJV", "KJV", "King James Version"},
        {"NIV", "NIV", "New International Version"},
        {"TEV", "TEV", "Today's English Version"},
    };
    return table;
}

const TitleRow* findTitle(auto matches) {
    const std::vector<TitleRow>& table = titleTable();
    auto it = std::find_if(table.begin(), table.end(), matches);
    return it == table.end() ? nullptr : &*it;
}

const TitleRow* titleOfCode(std::string_view code) {
    return findTitle([&](const TitleRow& row) { return row.code == code; });
}

constexpr std::array<std::string_view, 7> kComparisonOrder{"VRA", "VRB", "VRC", "VRE",
                                                           "KJV", "NIV", "TEV"};
constexpr std::array<std::string_view, 7> kNoteOrder{"VRA", "VRC", "VRB", "VRE",
                                                     "KJV", "NIV", "TEV"};

int indexIn(const std::array<std::string_view, 7>& order, std::string_view code) {
    auto it = std::find(order.begin(), order.end(), code);
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

} // namespace

std::string versionTitleOf(std::string_view code, bool full) {
    if (code == "GNB")
        code = "TEV";
    return full ? versionFullTitle(code) : versionShortTitle(code);
}

std::string versionFullTitle(std::string_view code) {
    const TitleRow* row = titleOfCode(code == "GNB" ? "TEV" : code);
    return row ? row->fullTitle : std::string(kUnknownTitle);
}

std::string versionShortTitle(std::string_view code) {
    const TitleRow* row = titleOfCode(code);
    return row ? row->shortTitle : std::string(kUnknownTitle);
}

std::string shortTitleOfFullTitle(std::string_view fullTitle) {
    const TitleRow* row = findTitle([&](const TitleRow& r) { return r.fullTitle == fullTitle; });
    return row ? row->shortTitle : std::string(kUnknownTitle);
}

std::string versionCodeOfShortTitle(std::string_view shortTitle) {
    const TitleRow* row = findTitle([&](const TitleRow& r) { return r.shortTitle == shortTitle; });
    return row ? row->code : std::string(kUnknownTitle);
}

int comparisonIndexOf(std::string_view code) {
    return indexIn(kComparisonOrder, code);
}

std::string comparisonLabel(int index) {
    if (index < 0 || index >= static_cast<int>(kComparisonOrder.size()))
        return {};
    return versionFullTitle(kComparisonOrder[static_cast<std::size_t>(index)]);
}

int noteVersionIndex(std::string_view code) {
    return indexIn(kNoteOrder, code);
}

std::optional<std::string> bookNameOfAbbreviation(std::string_view versionCode,
                                                  std::string_view abbreviation) {
    // Exactly the seven comparable versions have an abbreviation lookup.
    if (comparisonIndexOf(versionCode) < 0)
        return std::nullopt;
    for (const BookRow& row : bookTableOf(versionCode)) {
        if (row.abbreviation == abbreviation)
            return row.name;
    }
    return std::nullopt;
}

int bookNumber(std::string_view bookCode) {
    // The standard table holds 39 + 27 books; the GNB table holds all fifteen deuterocanonical
    // books right after Malachi, in numbering order.
    constexpr int kOldTestament = 39;
    constexpr int kDeuterocanon = 15;
    const std::vector<BookRow>& standard = bookTableOf("VRA");
    for (int i = 0; i < static_cast<int>(standard.size()); ++i) {
        if (standard[static_cast<std::size_t>(i)].code == bookCode)
            return i < kOldTestament ? i + 1 : 61 + (i - kOldTestament);
    }
    const std::vector<BookRow>& gnb = bookTableOf("GNB");
    for (int i = 0; i < kDeuterocanon; ++i) {
        if (gnb[static_cast<std::size_t>(kOldTestament + i)].code == bookCode)
            return 41 + i;
    }
    return 99;
}

} // namespace qel
