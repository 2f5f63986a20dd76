#pragma once

#include <string>
#include <vector>

namespace qel {

// What the tree-and-search panel needs of the window it sits in. Article windows open by
// key, the comparison windows by row; topic windows showing maps add the map calls.
class TreeAndSearchOwner {
public:
    virtual ~TreeAndSearchOwner() = default;

    // Opens the entry at this row of the panel's table (the key is that row's, adjusted for
    // the language in mode 9 and prefixed by "f" for a place name in mode 5); record adds it
    // to the owner's page history.
    virtual void openPanelEntry(int row, const std::string& key, bool record) = 0;
    // Whether the panel opens the first real entry when it gets its table.
    virtual bool opensFirstEntry() const { return true; }

    // Article windows also search the text of their articles: the keys of the articles
    // holding the text, and, once such a hit is open, the view shows the text's first place.
    virtual bool searchesText() const { return false; }
    virtual std::vector<std::string> keysWithText(const std::string& text) {
        return (void)text, std::vector<std::string>{};
    }
    virtual void showTextMatch(const std::string& text) { (void)text; }

    // Topic windows: the key shown now, and whether the current view is a map view with
    // its legend and zoom (toggleMapZoom returns whether the map is zoomed now).
    virtual std::string currentPanelKey() const { return {}; }
    virtual bool showsMap() const { return false; }
    virtual void showMapLegend() {}
    virtual bool toggleMapZoom() { return false; }
};

} // namespace qel
