#include "companion/companionprotocol.h"

namespace qel {

std::string companionGreeting(long long windowId) {
    return "1057 " + std::to_string(windowId);
}

std::vector<std::string> companionKeyLines(std::string_view commandKey) {
    if (commandKey.size() > static_cast<std::size_t>(kCompanionKeyLength))
        return {};
    std::vector<std::string> lines;
    auto line = [&](std::size_t position, unsigned char c) {
        lines.push_back("1058 " + std::to_string(position) + " " + std::to_string(c));
    };
    for (std::size_t i = 0; i < commandKey.size(); ++i)
        line(i, static_cast<unsigned char>(commandKey[i]));
    line(commandKey.size(), 0);
    line(kCompanionKeyLength + 1, 0);
    return lines;
}

} // namespace qel
