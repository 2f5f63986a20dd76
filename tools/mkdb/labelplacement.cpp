#include "mkdb/labelplacement.h"

#include <algorithm>
#include <cmath>

namespace qel::mkdb {
namespace {

LabelBox markBox(const LabelRequest& r, double radius) {
    return {r.x - radius, r.y - radius, r.x + radius, r.y + radius};
}

// Candidate boxes for a name around its mark, the nearest and most usual first: right,
// left, above, below, then the corners; at steps further out for the important names.
std::vector<LabelBox> candidates(const LabelRequest& r, double gap, int rings) {
    std::vector<LabelBox> boxes;
    const double w = r.width, h = r.height;
    for (int ring = 0; ring < rings; ++ring) {
        const double d = gap + ring * h * 0.75;
        const double xs[] = {r.x + d, r.x - d - w, r.x - w / 2, r.x - w / 2,
                             r.x + d, r.x - d - w, r.x + d,     r.x - d - w};
        const double ys[] = {r.y - h / 2, r.y - h / 2, r.y - d - h, r.y + d,
                             r.y - d - h, r.y - d - h, r.y + d,     r.y + d};
        for (int k = 0; k < 8; ++k)
            boxes.push_back({xs[k], ys[k], xs[k] + w, ys[k] + h});
    }
    return boxes;
}

bool hitsAny(const LabelBox& box, const std::vector<LabelBox>& taken) {
    return std::any_of(taken.begin(), taken.end(),
                       [&](const LabelBox& t) { return t.intersects(box); });
}

std::optional<LabelBox> firstFree(const LabelRequest& r, const LabelRules& rules, int rings,
                                  const std::vector<LabelBox>& taken) {
    for (const LabelBox& box : candidates(r, rules.gap, rings))
        if (box.within(rules.bounds) && !hitsAny(box, taken))
            return box;
    return std::nullopt;
}

// A region name at its place, else shifted by up to its own height or a third of its width.
std::optional<LabelBox> regionSpot(const LabelBox& box, const LabelRules& rules,
                                   const std::vector<LabelBox>& taken) {
    const double h = box.bottom - box.top, w = box.right - box.left;
    const double shifts[][2] = {{0, 0},      {0, -h / 2}, {0, h / 2}, {0, -h},
                                {0, h},      {-w / 3, 0}, {w / 3, 0}, {-w / 3, -h},
                                {w / 3, -h}, {-w / 3, h}, {w / 3, h}};
    for (const auto& s : shifts) {
        const LabelBox moved{box.left + s[0], box.top + s[1], box.right + s[0], box.bottom + s[1]};
        if (moved.within(rules.bounds) && !hitsAny(moved, taken))
            return moved;
    }
    return std::nullopt;
}

} // namespace

LabelLayout placeLabels(const std::vector<LabelRequest>& requests,
                        const std::vector<LabelBox>& fixed, const LabelRules& rules,
                        const std::vector<LabelBox>& regions) {
    const std::size_t n = requests.size();
    LabelLayout layout{std::vector<bool>(n, false), std::vector<std::optional<LabelBox>>(n),
                       std::vector<std::optional<LabelBox>>(regions.size())};
    std::vector<LabelBox> taken = fixed;
    std::vector<std::size_t> markedAt;
    const auto nearMark = [&](const LabelRequest& r) {
        return std::any_of(markedAt.begin(), markedAt.end(), [&](std::size_t j) {
            return std::hypot(requests[j].x - r.x, requests[j].y - r.y) < rules.markSpacing;
        });
    };
    // A mark under the title or a grid tag cannot be seen, important or not.
    const auto hidden = [&](const LabelRequest& r) {
        const LabelBox mark = markBox(r, rules.markRadius);
        return !mark.within(rules.bounds) || hitsAny(mark, fixed);
    };
    for (std::size_t i = 0; i < n; ++i)
        if (requests[i].important && !nearMark(requests[i]) && !hidden(requests[i])) {
            layout.marked[i] = true;
            markedAt.push_back(i);
            taken.push_back(markBox(requests[i], rules.markRadius));
        }
    // Far enough out that a crowded name still finds room, near enough to read as its own.
    constexpr int kImportantRings = 8;
    for (std::size_t i = 0; i < n; ++i)
        if (layout.marked[i])
            if ((layout.labels[i] = firstFree(requests[i], rules, kImportantRings, taken)))
                taken.push_back(*layout.labels[i]);
    for (std::size_t i = 0; i < regions.size(); ++i)
        if ((layout.regions[i] = regionSpot(regions[i], rules, taken)))
            taken.push_back(*layout.regions[i]);
    for (std::size_t i = 0; i < n; ++i) {
        const LabelRequest& r = requests[i];
        const LabelBox mark = markBox(r, rules.markRadius);
        if (r.important || nearMark(r) || !mark.within(rules.bounds) || hitsAny(mark, taken))
            continue;
        // A mark keeps its room even when its own name finds none.
        layout.marked[i] = true;
        markedAt.push_back(i);
        taken.push_back(mark);
    }
    for (std::size_t i = 0; i < n; ++i)
        if (layout.marked[i] && !requests[i].important)
            if ((layout.labels[i] = firstFree(requests[i], rules, 1, taken)))
                taken.push_back(*layout.labels[i]);
    return layout;
}

} // namespace qel::mkdb
