#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines a companion program sends the reader to open a place: 1057 to greet it (the
// reader answers "1058 0" and comes to the front), then 1058 with each character of the
// command key by position, its terminating zero at the position after the key, and
// position 14, which makes the reader open the key.
namespace qel {

inline constexpr int kCompanionKeyLength = 13;

std::string companionGreeting(long long windowId);
// The 1058 lines of a key of at most 13 characters; an empty list for a longer key.
std::vector<std::string> companionKeyLines(std::string_view commandKey);

} // namespace qel
