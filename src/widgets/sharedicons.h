#pragma once

namespace qel {

// Makes the style hand out one icon for each of its standard pictures, for the program's
// life. Every window asks for the same pictures (the title bar's buttons, the tree's folders);
// made anew each time, each icon's pixmap has a serial number of its own, and the pixmap
// cache keeps a key for every serial it was ever asked for, so each window opened and closed
// left a few keys behind.
void shareStandardIcons();

} // namespace qel
