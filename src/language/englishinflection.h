#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

// The forms an all-forms search looks for, given a lower-case English word: the word, its
// regular inflections with the older -est/-eth endings (love → loves, loved, loving, lovest,
// loveth, lovedst), irregular forms (give → gave, given, giveth), and plurals. A word
// typed in an inflected form is first taken back to its possible bases. Some forms may
// not be words; the caller keeps those that occur in the text.
std::vector<std::string> englishInflections(std::string_view word);

} // namespace qel
