#include "widgets/dockbarsizes.h"

#include "platform/settingsstore.h"

#include <algorithm>

namespace qel {
namespace {

struct Slot {
    const char* cx;
    const char* cy;
    DockBarSizes::Size DockBarSizes::*size;
};

constexpr Slot kSlots[] = {{"sizeHorzCX", "sizeHorzCY", &DockBarSizes::horz},
                           {"sizeVertCX", "sizeVertCY", &DockBarSizes::vert},
                           {"sizeFloatCX", "sizeFloatCY", &DockBarSizes::floating}};

} // namespace

std::string dockBarSection(std::string_view owner, int barId) {
    return std::string(owner) + "-SCBar-" + std::to_string(barId);
}

DockBarSizes loadDockBarSizes(const SettingsStore& store, std::string_view section,
                              const DockBarSizes& defaults) {
    const auto read = [&](const char* name, int defaultValue) {
        const int value = store.readInt(section, name, defaultValue);
        return value > 0 ? value : defaultValue;
    };
    DockBarSizes sizes;
    for (const Slot& slot : kSlots) {
        (sizes.*slot.size).cx = read(slot.cx, (defaults.*slot.size).cx);
        (sizes.*slot.size).cy = read(slot.cy, (defaults.*slot.size).cy);
    }
    return sizes;
}

bool saveDockBarSizes(SettingsStore& store, std::string_view section,
                      const DockBarSizes& sizes) noexcept {
    bool saved = true;
    for (const Slot& slot : kSlots) {
        saved = store.writeInt(section, slot.cx, (sizes.*slot.size).cx) && saved;
        saved = store.writeInt(section, slot.cy, (sizes.*slot.size).cy) && saved;
    }
    return saved;
}

int dockBarExtent(int wanted, int room) {
    return std::max(kDockBarMinimum, std::min(wanted, room));
}

} // namespace qel
