#pragma once

#include <string>
#include <string_view>

namespace qel {

class SettingsStore;

// The sizes a resizable docking bar keeps: docked along the top or bottom edge (horz),
// along the left or right edge (vert) and floating.
struct DockBarSizes {
    struct Size {
        int cx = 0;
        int cy = 0;
        bool operator==(const Size&) const = default;
    };
    Size horz, vert, floating;
    bool operator==(const DockBarSizes&) const = default;
};

// A bar is never narrower than this, in either direction.
inline constexpr int kDockBarMinimum = 30;

// The settings section of bar `barId` of `owner`: "Main-SCBar-1".
std::string dockBarSection(std::string_view owner, int barId);

// Stored sizes; a missing, unreadable, zero or negative value gives its default.
DockBarSizes loadDockBarSizes(const SettingsStore& store, std::string_view section,
                              const DockBarSizes& defaults);
// False when the settings file could not be saved.
bool saveDockBarSizes(SettingsStore& store, std::string_view section,
                      const DockBarSizes& sizes) noexcept;

// An extent of the bar kept between the minimum and what its window allows (`room`); a
// window smaller than the minimum still gets a bar of the minimum.
int dockBarExtent(int wanted, int room);

} // namespace qel
