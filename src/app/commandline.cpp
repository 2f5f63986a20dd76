#include "app/commandline.h"

#include "bible/editions.h"
#include "platform/text.h"

#include <algorithm>
#include <array>

namespace qel {
namespace {

constexpr std::array<std::string_view, 14> kWindowKindCodes = {
    "BOOK",       "UNITS", "TERM", "CRI",   "PROLOG", "PARALLEL", "COMPARE4",
    "COMPAREHIS", "CAME",  "MAP",  "PHOTO", "SHORT",  "HIS",      "ABOUT"};

std::string knownCodes() {
    std::string text;
    for (const Edition& v : editionTable())
        text += std::string(v.code) + " ";
    for (std::string_view code : kWindowKindCodes)
        text += std::string(code) + " ";
    text.pop_back();
    return text;
}

} // namespace

bool isDocumentTypeCode(std::string_view code) {
    return isEditionSlot(code) || std::find(kWindowKindCodes.begin(), kWindowKindCodes.end(),
                                            code) != kWindowKindCodes.end();
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    const auto fail = [&line](std::string message) {
        if (line.error.empty())
            line.error = std::move(message);
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (arg == "--nologo") {
            line.noLogo = true;
        } else if (arg == "--screenshot") {
            if (!hasValue)
                fail("--screenshot needs a file name");
            else
                line.screenshotFile = arguments[++i];
        } else if (arg == "--window") {
            if (!hasValue) {
                fail("--window needs a window code");
                continue;
            }
            const std::string& value = arguments[++i];
            const auto colon = value.find(':');
            line.windowCode = value.substr(0, colon);
            line.windowPlace = colon == std::string::npos ? "" : value.substr(colon + 1);
            if (!isDocumentTypeCode(line.windowCode))
                fail("--window " + line.windowCode +
                     ": no window has this code (known: " + knownCodes() + ")");
        } else if (arg == "--command") {
            const int id = hasValue ? atoiText(arguments[++i]) : 0;
            if (id <= 0)
                fail("--command needs a command number");
            else
                line.commands.push_back(id);
        } else if (!arg.starts_with("-") && line.commandKey.empty()) {
            line.commandKey = arg;
        }
    }
    return line;
}

} // namespace qel
