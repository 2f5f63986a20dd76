#pragma once

#include <string_view>

namespace qel {

class MarkupNodeList;

// Reads markup text (CP949) into nodes. The parser never reports an error: malformed input
// ends the parse, keeping what was read before it; unknown ids surface in the layout.
class MarkupParser {
public:
    // Appends the nodes of `text` to `list` in document order. Nothing happens without a
    // list or with empty text.
    static void parse(MarkupNodeList* list, std::string_view text);
};

} // namespace qel
