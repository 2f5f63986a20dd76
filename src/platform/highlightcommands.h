#pragma once

// Command identifiers of the highlight colours, kept beside the historic numbers.
namespace qel::cmd {

enum HighlightId : int {
    Highlight1 = 33001, // Highlight1 + n - 1 is colour n
    Highlight5 = 33005,
    HighlightErase = 33006,
};

} // namespace qel::cmd
