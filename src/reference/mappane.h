#pragma once

#include <string>

class QString;
class QWidget;

namespace qel {

struct AppContext;

// What the map window asks of the map view in its right pane. The view is a widget that
// the window shows in place of its topic view while a map key ("f...") is open.
class MapPane {
public:
    virtual ~MapPane() = default;

    virtual QWidget* widget() = 0;
    // Shows the map of the key after "f": the map number, optionally a place to frame.
    // A missing or damaged map leaves the pane empty and returns false.
    virtual bool LoadMap(const std::string& mapKey) = 0;
    // Shows a map topic ("m02exodusroad") drawn over its map, under the title given; false
    // when its bitmaps are missing or damaged.
    virtual bool LoadTopicMap(const std::string& topicKey, const QString& title) = 0;
    virtual bool canCopy() const = 0;
    virtual bool canSelectAll() const = 0;
    virtual bool copy() = 0;
    virtual void selectAll() = 0;
    virtual bool print() = 0;
    // The tree panel's map buttons.
    virtual void showLegend() = 0;
    // Returns whether the map is zoomed now.
    virtual bool toggleZoom() = 0;
    // The map's own commands (print, copy, select all, scale, legend); false when not its.
    virtual bool handleCommand(int id) = 0;
};

// The map view of the program, a child of parent.
MapPane* createMapPane(AppContext& context, QWidget* parent);

} // namespace qel
