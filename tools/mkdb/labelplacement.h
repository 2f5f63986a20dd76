#pragma once

#include <optional>
#include <vector>

namespace qel::mkdb {

struct LabelBox {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool intersects(const LabelBox& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool within(const LabelBox& outer) const {
        return left >= outer.left && top >= outer.top && right <= outer.right &&
               bottom <= outer.bottom;
    }
};

// A place to be marked and, room permitting, named: its position, the size of its name
// and whether it is one of the places that are always named.
struct LabelRequest {
    double x = 0, y = 0;
    double width = 0, height = 0;
    bool important = false;
};

struct LabelLayout {
    // Per request: whether its mark is drawn and where its name goes (none: mark only).
    std::vector<bool> marked;
    std::vector<std::optional<LabelBox>> labels;
    // Per region name: where it went (none: left off for want of room).
    std::vector<std::optional<LabelBox>> regions;
};

struct LabelRules {
    LabelBox bounds;
    double markRadius = 4;  // half the side of a mark's box
    double markSpacing = 4; // marks nearer than this to a drawn one are left off
    double gap = 6;         // between a mark and its name
};

// Marks under a fixed box are left off. Sets every important name first, each where it overlaps
// neither a fixed box (grid tags, title), another name nor an important mark, moving further from
// its mark if need be. The names of lands and waters come next, each at its place or moved a
// little, or left off. Marks of other places under a name set so far are left off; the other places
// are then marked where no mark lies near, and named beside their mark where there is room. No two
// names and no name and drawn mark overlap.
LabelLayout placeLabels(const std::vector<LabelRequest>& requests,
                        const std::vector<LabelBox>& fixed, const LabelRules& rules,
                        const std::vector<LabelBox>& regions = {});

} // namespace qel::mkdb
