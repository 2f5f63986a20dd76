#pragma once

#include <string>

namespace qel {

// State shared by all Bible windows of the program.
struct BibleSharedState {
    bool syncEnabled = false; // windows move together
    // The most recent place moved to in any Bible window.
    std::string lastBook, lastChapter, lastVerse;
    bool syncing = false;             // a synchronised move is under way
    bool lastResizeMaximized = false; // size type of the latest resize of any Bible window
};

} // namespace qel
