#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

// What the program was started with. Texts are as given (UTF-8).
struct CommandLine {
    bool noLogo = false;
    // --screenshot FILE [KEY]: save a picture of the main window and exit.
    std::string screenshotFile;
    // The place to open: a command key ("BVRAjhn003016", "Iabc").
    std::string commandKey;
    // --window CODE[:PLACE]: a window to open by its document-type code, and the place
    // handed to it.
    std::string windowCode;
    std::string windowPlace;
    // --command ID (repeatable): menu commands run, in order, once the windows are open, so
    // that a picture can show panels.
    std::vector<int> commands;
    // Why the arguments cannot be used; empty when they can.
    std::string error;
};

// arguments excludes the program name. Options it does not know are left to Qt.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// A version code or the code of another window kind ("BOOK", "PARALLEL", ...).
bool isDocumentTypeCode(std::string_view code);

} // namespace qel
