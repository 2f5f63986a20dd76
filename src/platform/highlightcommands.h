#pragma once

// Command identifiers of the highlight colours, kept beside the historic numbers.
namespace qel::cmd {

enum HighlightId : int {
    Highlight1 = 33001, // Highlight1 + n - 1 is colour n
    Highlight5 = 33005,
    HighlightErase = 33006,
    HighlightMenu = 33007, // the toolbar's drop-down of the colours
    HighlightList = 33008,
};

} // namespace qel::cmd

namespace qel {

// The name of highlight colour 1..5 (UTF-8), as the menus show it.
inline const char* highlightColourName(int colour) {
    static const char* const names[] = {"노랑", "초록", "파랑", "분홍", "주황"};
    return colour >= 1 && colour <= 5 ? names[colour - 1] : "";
}

} // namespace qel
