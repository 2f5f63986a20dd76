#include "bible/versiontitles.h"

#include "platform/codec.h"

#include <algorithm>
#include <array>

namespace qel {

std::string versionShortTitle(std::string_view code) {
    struct TitleRow {
        std::string_view code;
        std::string shortTitle;
    };
    static const std::array<TitleRow, 8> table{{
        {"VRA", utf8ToCp949("역본 가")},
        {"VRB", utf8ToCp949("역본 나")},
        {"VRE", utf8ToCp949("역본 마")},
        {"VRD", utf8ToCp949("해설서 라")},
        {"VRC", utf8ToCp949("역본 다")},
        {"KJV", "KJV"},
        {"NIV", "NIV"},
        {"TEV", "TEV"},
    }};
    const auto it = std::find_if(table.begin(), table.end(),
                                 [&](const TitleRow& row) { return row.code == code; });
    return it == table.end() ? std::string(kUnknownTitle) : it->shortTitle;
}

} // namespace qel
