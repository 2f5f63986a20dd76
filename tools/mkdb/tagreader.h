#pragma once

#include "mkdb/osisconverter.h"

#include <functional>
#include <string_view>

namespace qel::mkdb {

struct MarkupTag {
    std::string_view name;
    OsisAttributes attributes;
    bool closing = false;
    bool selfClosing = false;
};

// Reads XML-like markup that need not be well-formed, such as one verse of a module whose
// elements open in one verse and close in the next: text and tags in order, without
// nesting checks and without decoding entities. An unterminated "<" and what follows it
// are text.
void readTags(std::string_view markup, const std::function<void(std::string_view)>& onText,
              const std::function<void(const MarkupTag&)>& onTag);

} // namespace qel::mkdb
